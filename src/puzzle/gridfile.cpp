// The grid file reader. The whole file is read into memory (it is a few kilobytes) and every
// number is checked against the file's real size before anything is sized or read from it.
#include "puzzle/gridfile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qlx {
namespace {

constexpr std::size_t kMaxGridFileBytes = 64u << 20;  // far beyond any real grid file

Status damaged(const std::string& path, const std::string& problem) {
  return Status::Damaged(path + ": the grid file is damaged: " + problem);
}

Status readWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::NotFound(path + ": the grid file is missing or cannot be read");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return Status::IoError(path + ": the grid file cannot be read");
  if (static_cast<std::size_t>(size) > kMaxGridFileBytes)
    return damaged(path, "it is implausibly large");
  bytes.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), size))
    return Status::IoError(path + ": the grid file cannot be read");
  return Status::Ok();
}

int32_t readInt32LE(const std::vector<uint8_t>& b, std::size_t at) {
  const uint32_t v = uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                     uint32_t(b[at + 3]) << 24;
  return static_cast<int32_t>(v);
}

// Checks the grid record at offset: two size bytes, fewer than 256 cells, all cells inside the file
// and each a block (0) or a white cell (1).
Status checkRecord(const std::vector<uint8_t>& b, int64_t offset, const std::string& path,
                   const std::string& what) {
  if (offset < 0 || offset + 2 > static_cast<int64_t>(b.size()))
    return damaged(path, what + " starts outside the file (offset " + std::to_string(offset) + ")");
  const int rows = b[static_cast<std::size_t>(offset)];
  const int cols = b[static_cast<std::size_t>(offset) + 1];
  const int cells = rows * cols;
  if (cells == 0 || cells >= 256)
    return damaged(path, what + " has " + std::to_string(rows) + " x " + std::to_string(cols) +
                             " cells; a grid needs 1 to 255 cells");
  if (offset + 2 + cells > static_cast<int64_t>(b.size()))
    return damaged(path, what + " runs past the end of the file");
  const auto first = b.begin() + static_cast<std::ptrdiff_t>(offset) + 2;
  if (std::any_of(first, first + cells, [](uint8_t cell) { return cell > 1; }))
    return damaged(path, what + " has a cell that is neither a block nor a white cell");
  return Status::Ok();
}

std::string recordName(int32_t puzzleNum, int32_t group) {
  return "grid " + std::to_string(puzzleNum) + " of group " + std::to_string(group);
}

}  // namespace

Status loadGridIndex(GridIndex& index) {
  const std::string& path = index.gridFilePath;
  std::vector<uint8_t> b;
  if (Status s = readWholeFile(path, b); !s) return s;
  const auto size = static_cast<int64_t>(b.size());
  if (size < 4) return damaged(path, "it is too short to hold a header");

  const int32_t groupCount = readInt32LE(b, 0);
  if (groupCount < 1)
    return damaged(path, "it names " + std::to_string(groupCount) + " grid groups");
  if (4 + 4 * int64_t(groupCount) > size)
    return damaged(path, "it names " + std::to_string(groupCount) +
                             " grid groups but is too short to list them");

  GridIndex fresh;
  fresh.gridFilePath = path;
  fresh.groupCount = groupCount;
  fresh.gridIndex.redim(static_cast<std::size_t>(groupCount));

  int64_t at = 4;
  int64_t totalOffsets = 0;
  for (int32_t g = 1; g <= groupCount; ++g, at += 4) {
    const int32_t count = readInt32LE(b, static_cast<std::size_t>(at));
    if (count < 0)
      return damaged(path, "group " + std::to_string(g) + " has a negative grid count");
    totalOffsets += count;
    if (at + 4 + 4 * (int64_t(groupCount) - g) + 4 * totalOffsets > size)
      return damaged(path, "group " + std::to_string(g) + " claims " + std::to_string(count) +
                               " grids, more than the file can hold");
    fresh.gridIndex(g).count = count;
  }
  for (int32_t g = 1; g <= groupCount; ++g) {
    GridIndexRecord& rec = fresh.gridIndex(g);
    rec.offsets.redim(static_cast<std::size_t>(rec.count));
    for (int32_t n = 1; n <= rec.count; ++n, at += 4) {
      rec.offsets(n) = readInt32LE(b, static_cast<std::size_t>(at));
      if (Status s = checkRecord(b, rec.offsets(n), path, recordName(n, g)); !s) return s;
    }
  }
  index = std::move(fresh);
  return Status::Ok();
}

Status loadGrid(const GridIndex& index, int32_t puzzleNum, int32_t group, Puzzle& puzzle) {
  const std::string& path = index.gridFilePath;
  if (group < 1 || group > index.groupCount)
    return Status::NotFound(path + ": there is no grid group " + std::to_string(group) +
                            " (the file has " + std::to_string(index.groupCount) + ")");
  const GridIndexRecord& rec = index.gridIndex(group);
  if (puzzleNum < 1 || puzzleNum > rec.count)
    return Status::NotFound(path + ": there is no " + recordName(puzzleNum, group) +
                            " (the group has " + std::to_string(rec.count) + ")");

  // The file is read again, as it may have changed since the index was loaded.
  std::vector<uint8_t> b;
  if (Status s = readWholeFile(path, b); !s) return s;
  const int64_t offset = rec.offsets(puzzleNum);
  if (Status s = checkRecord(b, offset, path, recordName(puzzleNum, group)); !s) return s;

  const auto at = static_cast<std::size_t>(offset);
  puzzle.gridRows = b[at];
  puzzle.gridCols = b[at + 1];
  // The cell count is the 8-bit product; checkRecord has made sure the product fits.
  puzzle.cellCount = static_cast<int16_t>(static_cast<uint8_t>(puzzle.gridRows * puzzle.gridCols));
  puzzle.gridShape.redim(static_cast<std::size_t>(puzzle.cellCount));
  for (int i = 1; i <= puzzle.cellCount; ++i)
    puzzle.gridShape(i) = b[at + 1 + static_cast<std::size_t>(i)];
  return Status::Ok();
}

}  // namespace qlx
