#pragma once

#include <thread>

namespace nt {

// Reads the font configuration on a second thread while the display connection is made, so
// the window's first text does not wait for it. wait() before any font is used: two threads
// loading the configuration at once would each do the whole work.
class FontWarmup {
  public:
    FontWarmup();
    ~FontWarmup();
    FontWarmup(const FontWarmup&) = delete;
    FontWarmup& operator=(const FontWarmup&) = delete;

    void wait();

  private:
    std::thread worker_;
};

}  // namespace nt
