// Fuzzes the BMP loader; a picture it accepts must be written and read back with the same pixels.
#include "fuzz_support.h"
#include "platform/bitmap.h"

using namespace qlx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bitmap picture;
  if (!loadBmp(fuzz::writeScratch("PICTURE.BMP", data, size), &picture)) return 0;
  if (picture.width < 1 || picture.height < 1 ||
      picture.pixels.size() !=
          static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
    fuzz::fail("a loaded picture whose size and pixels disagree");
  const std::string copy = fuzz::writeScratch("COPY.BMP", nullptr, 0);
  if (Status s = saveBmp(copy, picture); !s) fuzz::fail(s.message());
  Bitmap back;
  if (Status s = loadBmp(copy, &back); !s) fuzz::fail(s.message());
  if (back.width != picture.width || back.height != picture.height || back.pixels != picture.pixels)
    fuzz::fail("a picture written and read back differs");
  return 0;
}
