// fontconfig lookup: a pattern of family, weight and "scalable" is completed with the user's
// and the system's substitution rules (the aliases that map "Arial" to Liberation Sans live
// there) and matched against the installed fonts.
#include "platform/fonts/font_lookup.h"

#include <fontconfig/fontconfig.h>

namespace qlx {

namespace {

// A configuration of our own, loaded on first use and released at exit (the library's shared
// default one is never freed, which leak checkers report).
class Config {
 public:
  FcConfig* get() {
    if (!loaded_) {
      loaded_ = true;
      config_ = FcInitLoadConfigAndFonts();
    }
    return config_;
  }
  ~Config() {
    if (config_) FcConfigDestroy(config_);
  }

 private:
  bool loaded_ = false;
  FcConfig* config_ = nullptr;
};

FcConfig* config() {
  static Config instance;
  return instance.get();
}

}  // namespace

std::string findFontFile(const std::string& face, int weight) {
  FcConfig* fc = config();
  if (!fc) return {};
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return {};
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(fc, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  std::string file;
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(fc, pattern, &result)) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
      file = reinterpret_cast<const char*>(path);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

}  // namespace qlx
