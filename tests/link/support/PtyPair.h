#pragma once
// A pseudo-terminal pair for the serial link tests: the link opens the slave
// by its path as its serial device; the test plays the module on the master.
#include <string>

namespace vk::test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    int master() const { return master_; }  // non-blocking
    int slave() const { return slave_; }    // the pair's own slave descriptor, to inspect termios
    const std::string& slavePath() const { return slavePath_; }
    // Closes the master side, as an unplugged USB adapter goes away: the
    // slave side hangs up for good.
    void closeMaster();

private:
    int master_ = -1;
    // Kept open for the pair's life: with no slave descriptor left, the
    // master reports a hang-up and loses what the link wrote.
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace vk::test
