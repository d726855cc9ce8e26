// Encoder, decoder and safe writer of the binary grid file.
#include "gridkit/grid_file.h"

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace qlx::gridkit {

namespace {

void putInt32(std::vector<std::uint8_t>& out, std::size_t at, std::int64_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int k = 0; k < 4; ++k)
    out[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
}

std::int32_t getInt32(std::span<const std::uint8_t> in, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 0; k < 4; ++k)
    v |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(k)]) << (8 * k);
  return static_cast<std::int32_t>(v);
}

}  // namespace

Status encodeGridFile(const GridGroups& groups, std::vector<std::uint8_t>* bytes) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t total = 4 + 4 * static_cast<std::int64_t>(groups.size());
  for (const auto& group : groups)
    for (const Pattern& p : group) {
      if (p.rows < 1 || p.cols < 1 || p.rows > kMaxSide || p.cols > kMaxSide ||
          p.cells.size() != static_cast<std::size_t>(p.rows * p.cols))
        return Status::Refused("a grid of " + std::to_string(p.rows) + " x " +
                               std::to_string(p.cols) + " cells does not fit a grid record");
      total += 4 + 2 + p.cellCount();
    }
  if (total > kLimit) return Status::Refused("the grid file would be larger than 2 GiB");

  std::size_t gridCount = 0;
  for (const auto& group : groups) gridCount += group.size();
  std::vector<std::uint8_t>& out = *bytes;
  out.assign(static_cast<std::size_t>(total), 0);
  putInt32(out, 0, static_cast<std::int64_t>(groups.size()));
  for (std::size_t g = 0; g < groups.size(); ++g)
    putInt32(out, 4 + 4 * g, static_cast<std::int64_t>(groups[g].size()));
  std::size_t offsetAt = 4 + 4 * groups.size();
  std::size_t recordAt = offsetAt + 4 * gridCount;  // records follow the header
  for (const auto& group : groups)
    for (const Pattern& p : group) {
      putInt32(out, offsetAt, static_cast<std::int64_t>(recordAt));
      offsetAt += 4;
      out[recordAt++] = static_cast<std::uint8_t>(p.rows);
      out[recordAt++] = static_cast<std::uint8_t>(p.cols);
      for (std::uint8_t cell : p.cells) out[recordAt++] = cell ? 1 : 0;
    }
  return Status::Ok();
}

Status decodeGridFile(std::span<const std::uint8_t> bytes, GridGroups* out) {
  auto bad = [](const std::string& why) { return Status::Damaged(why); };
  if (bytes.size() < 4) return bad("shorter than its group count");
  const std::int32_t groupCount = getInt32(bytes, 0);
  if (groupCount < 0 || static_cast<std::size_t>(groupCount) > (bytes.size() - 4) / 4)
    return bad("group count " + std::to_string(groupCount) + " does not fit the file");
  std::vector<std::int32_t> counts;
  std::size_t at = 4;
  std::size_t offsetsTotal = 0;
  for (std::int32_t g = 0; g < groupCount; ++g, at += 4) {
    const std::int32_t count = getInt32(bytes, at);
    if (count < 0) return bad("group " + std::to_string(g + 1) + " has a negative count");
    counts.push_back(count);
    offsetsTotal += static_cast<std::size_t>(count);
  }
  if (offsetsTotal > (bytes.size() - at) / 4)
    return bad("the record offsets run past the end of the file");

  GridGroups groups(counts.size());
  for (std::size_t g = 0; g < counts.size(); ++g)
    for (std::int32_t n = 0; n < counts[g]; ++n, at += 4) {
      const std::int32_t offset = getInt32(bytes, at);
      const std::string where =
          "grid " + std::to_string(n + 1) + " of group " + std::to_string(g + 1);
      if (offset < 0 || static_cast<std::size_t>(offset) + 2 > bytes.size())
        return bad(where + ": offset " + std::to_string(offset) + " is outside the file");
      Pattern p;
      p.rows = bytes[static_cast<std::size_t>(offset)];
      p.cols = bytes[static_cast<std::size_t>(offset) + 1];
      const std::size_t cellsAt = static_cast<std::size_t>(offset) + 2;
      if (static_cast<std::size_t>(p.cellCount()) > bytes.size() - cellsAt)
        return bad(where + ": its cells run past the end of the file");
      p.cells.assign(bytes.begin() + static_cast<std::ptrdiff_t>(cellsAt),
                     bytes.begin() + static_cast<std::ptrdiff_t>(cellsAt) + p.cellCount());
      groups[g].push_back(std::move(p));
    }
  *out = std::move(groups);
  return Status::Ok();
}

Status writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string temp = path + ".tmp" + std::to_string(static_cast<long>(::getpid()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return Status::IoError("cannot create " + temp + ": " + std::strerror(errno));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return Status::IoError("cannot write " + temp);
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    std::remove(temp.c_str());
    return Status::IoError("cannot rename " + temp + " to " + path + ": " + why);
  }
  return Status::Ok();
}

Status readWholeFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::NotFound("cannot open " + path);
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return Status::IoError("cannot read " + path);
  return Status::Ok();
}

}  // namespace qlx::gridkit
