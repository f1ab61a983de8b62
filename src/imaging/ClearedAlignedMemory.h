#pragma once
// Debian 12's HEVC decoder (libde265 1.0.11) leaves the parts of a damaged stream it cannot
// decode as the memory it was given, so a damaged HEIC picture would show whatever the heap held
// before: pixels of other pictures, texts, nothing the file says. Its picture memory comes from
// posix_memalign; while a ClearedAlignedMemory lives, every block posix_memalign hands out in
// the program is cleared first, so such parts come out black, the same on every run.

namespace tessel {

class ClearedAlignedMemory {
  public:
    ClearedAlignedMemory();
    ~ClearedAlignedMemory();
    ClearedAlignedMemory(const ClearedAlignedMemory&) = delete;
    ClearedAlignedMemory& operator=(const ClearedAlignedMemory&) = delete;
};

}  // namespace tessel
