#pragma once

#include <thread>

namespace qm47 {

// While the window is built, a second core fills the font database and finds the picture
// readers: the first frame needs both, and on one core they are the largest part of the
// start. Made once the QApplication exists, gone before it goes. Qt guards both with locks
// of their own, so the window asking for either meanwhile simply waits for the answer.
class StartWarmup {
 public:
  StartWarmup();
  ~StartWarmup();
  StartWarmup(const StartWarmup&) = delete;
  StartWarmup& operator=(const StartWarmup&) = delete;

 private:
  std::thread thread_;
};

}  // namespace qm47
