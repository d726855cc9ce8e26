// Reading and writing the chosen level; a value of any other size or number reads as Standard.
#include "persistence/level_store.h"

#include "persistence/app_key.h"
#include "persistence/le_bytes.h"

namespace qlx {

int16_t loadChosenLevel(Registry& registry) {
  OpenKey software(registry), app(registry);
  uint8_t bytes[4] = {};
  DWORD size = sizeof bytes;
  if (!openSoftware(registry, software) ||
      !createKey(registry, software.get(), appKeyPath(), kUserDataClass, app) ||
      registry.RegQueryValueExA(app.get(), kLevelValueName, nullptr, nullptr, bytes, &size) !=
          ERROR_SUCCESS ||
      size != sizeof bytes)
    return 2;
  const auto level = static_cast<int32_t>(le::get32(bytes));
  return level == 1 ? 1 : 2;
}

Status saveChosenLevel(Registry& registry, int16_t level) {
  OpenKey software(registry), app(registry);
  if (!openSoftware(registry, software) ||
      !createKey(registry, software.get(), appKeyPath(), kUserDataClass, app))
    return Status::IoError("The level cannot be saved: the settings file cannot be opened.");
  uint8_t bytes[4];
  le::put32(bytes, static_cast<uint32_t>(level));
  const LONG set = registry.RegSetValueExA(app.get(), kLevelValueName, 0, REG_BINARY, bytes, 4);
  const LONG closedApp = app.close(), closed = software.close();
  if (set != ERROR_SUCCESS || closedApp != ERROR_SUCCESS || closed != ERROR_SUCCESS)
    return Status::IoError("The settings file could not be written.");
  return Status::Ok();
}

}  // namespace qlx
