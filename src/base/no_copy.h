// What a class derives from when it holds something for as long as it lives (a handle, a
// setting it puts back on destruction): a copy would let it go twice.
#pragma once

namespace qm {

class NoCopy {
 public:
  NoCopy(const NoCopy&) = delete;
  NoCopy& operator=(const NoCopy&) = delete;

 protected:
  NoCopy() = default;
  ~NoCopy() = default;
};

}  // namespace qm
