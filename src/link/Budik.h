#pragma once
// A descriptor that a wait can sleep on to be woken by a request to end the
// transfer (budík = alarm clock). Whoever installs the question whether to
// end (NastavUkonceni) may hand over its descriptor along with it; a link
// that sleeps in poll then watches it beside its port and sleeps out a whole
// time-out instead of looking at the question in short slices.
namespace vk::link {

class TBudik {
public:
    // Popisovac() is -1 when no descriptor could be made: the waits then
    // look at the question in slices, as without one.
    TBudik();
    ~TBudik();
    TBudik(const TBudik&) = delete;
    TBudik& operator=(const TBudik&) = delete;

    int Popisovac() const { return popisovac_; }  // readable from Zazvon until Ztis

    // Makes the descriptor readable (zazvoň = ring); safe in a signal handler
    // and from any thread.
    void Zazvon() const;
    // Makes it unreadable again (ztiš = silence), before the next job.
    void Ztis() const;

private:
    int popisovac_ = -1;
};

}  // namespace vk::link
