#pragma once

// The lookup tables of a parsed INI text: section and key names found by their folded hash,
// without a copy of any name (the names stay in the text) and at four bytes a slot and at most half
// again as many slots as names, so that a huge file costs little beyond its own bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvik::ini {

// Each slot holds an index + 1 (0 = empty); open addressing, linear probing.
struct NameIndex {
  std::vector<std::uint32_t> slots;
};

// The starting hash of names scoped to `region` (sections use region 0).
std::uint64_t hashStart(std::size_t region);
// Hash of a name as spelled in the text, folded on the way; equal to hashFolded() of its
// folded form.
std::uint64_t hashRaw(std::uint64_t hash, std::string_view raw);
std::uint64_t hashFolded(std::uint64_t hash, std::string_view folded);
// Name comparisons without regard to case: a spelled name against a folded one, and two
// spelled names.
bool sameFolded(std::string_view raw, std::string_view folded);
bool sameRaw(std::string_view a, std::string_view b);
// The first slot of `hash` among `size` slots (fewer than 2^32): its top bits scaled to the
// size, so the table need not be a power of two in size and takes only the room it needs.
inline std::size_t startSlot(std::uint64_t hash, std::size_t size) {
  return static_cast<std::size_t>(((hash >> 32) * size) >> 32);
}
// Empties the index and gives it room for `names` names.
void sizeIndex(NameIndex& index, std::size_t names);

// Walks the slots of `hash` until `matches` accepts an entry (returns it) or an empty slot
// ends the walk (returns nullopt, with `empty` set to that slot).
template <typename Matches>
std::optional<std::size_t> probe(const NameIndex& index, std::uint64_t hash, Matches matches,
                                 std::size_t* empty = nullptr) {
  if (index.slots.empty()) return std::nullopt;
  const std::size_t size = index.slots.size();
  for (std::size_t slot = startSlot(hash, size);; slot = slot + 1 == size ? 0 : slot + 1) {
    const std::uint32_t entry = index.slots[slot];
    if (entry == 0) {
      if (empty != nullptr) *empty = slot;
      return std::nullopt;
    }
    if (matches(entry - 1)) return entry - 1;
  }
}

// Adds a name unless an equal one is there; returns whether it was added.
template <typename Same>
bool insert(NameIndex& index, std::uint64_t hash, std::size_t value, Same same) {
  std::size_t empty = 0;
  if (probe(index, hash, same, &empty)) return false;
  index.slots[empty] = static_cast<std::uint32_t>(value + 1);
  return true;
}

}  // namespace tarvik::ini
