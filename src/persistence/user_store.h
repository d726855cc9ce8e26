// Reading the player's data from the settings store at start-up and writing it back when the
// play window unloads: the solving record, the carried values, the sound switches and the best
// times, all under the game's key (class "USERDATA"). A best time or a cleared list is saved
// the moment it is made, merged into what the store holds.
#pragma once

#include "core/status.h"
#include "persistence/user_data.h"
#include "platform/registry.h"

namespace qlx {

inline constexpr const char* kStoreFailedMessage = " Error Failerd";
inline constexpr const char* kDefaultName = "Anononymous";
inline constexpr int32_t kDefaultTime = 30000;
// A name is read through a buffer of this many bytes: 24 characters and the NUL.
inline constexpr DWORD kNameBufferSize = 25;

// Loads data from the store; user.bestScores must already hold both levels. A value that cannot
// be read leaves its field as it was, except: the switches become 1, and a name becomes
// "Anononymous" with the time 30000. Counters A and B below 1 become 1 whether or not the record
// was read. When the store cannot be opened at all, changes nothing and fails with the message
// the player is shown then.
Status loadUserData(Registry& registry, UserData& user);

// Writes everything loadUserData reads; the names as text with their terminating NUL. The best
// lists written are those the store holds now with the user's unsaved changes made on them, so
// a list another copy of the game saved meanwhile is never undone. The status is the save's.
// A store that cannot be opened at all fails as loadUserData does (code kRefused).
Status saveUserData(Registry& registry, const UserData& user);

// Makes change on the best lists as the store holds them now and writes them back, in one save;
// user.bestScores then holds the stored lists. When the save fails the change is made on
// user.bestScores in memory and kept in user.unsavedChanges for the next save. With no store
// (null) the change is made in memory only.
Status saveBestListChange(Registry* registry, UserData& user, const BestListChange& change);

// The value names of a level's time table and of one place's name: "1STATS", "1STATS4".
std::string tableValueName(int level);
std::string nameValueName(int level, int place);

}  // namespace qlx
