#pragma once
// Unit PracovnikZarizeni (= device worker): the one object that carries out
// device work, on a thread of its own. Only its jobs touch the device
// connection record and the links, so no window waits in a transfer and
// none runs its event loop inside one; a click or a close during a transfer
// can no longer pull the program state out from under it.
//
// A window submits a job, a plain function of the procedures layer, with
// copies of what it needs; it gets the job's result record back on its own
// thread and applies it to the program state and its controls there.
//
// One job at a time. While it runs, Bezi() is true and the window keeps the
// controls that would start another transfer disabled; a second Spust is
// refused. The job's status texts, its progress and then its result reach
// the window in the order they happened, each through the window thread's
// event loop, and only while the receiver lives.
//
// Closing during a job: the window's close handler calls ZastavACekej().
// It asks the job to end and blocks the window thread, without running its
// event loop, until the job has returned: the serial link's wait wakes on
// the request at once (the worker's alarm, TBudik), the network link's at
// most one slice of its wait (20 ms) later, and a transfer asked to end
// fails at once. The job's result and any texts still on their way are then
// dropped: the window has given up on them. No handler runs a nested event loop for this, so no other handler
// (a second close, a timer) can run in the middle of it.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "Budik.h"
#include "Oznameni.h"
#include "Prubeh.h"
#include "U_VK7316R.h"

namespace vk::service::detail {

// A job takes the device connection record and the status text callback,
// and the progress callback when it has a long transfer to report.
template <class F>
decltype(auto) ZavolejUlohu(F& uloha, device::TVK7316R& modul, const procedures::TOznameni& oznam,
                            const link::TPrubeh& prubeh)
{
    if constexpr (std::is_invocable_v<F&, device::TVK7316R&, const procedures::TOznameni&, const link::TPrubeh&>)
        return uloha(modul, oznam, prubeh);
    else
        return uloha(modul, oznam);
}

template <class F>
using TVysledekUlohy = std::decay_t<decltype(ZavolejUlohu(std::declval<F&>(), std::declval<device::TVK7316R&>(),
                                                          std::declval<const procedures::TOznameni&>(),
                                                          std::declval<const link::TPrubeh&>()))>;

}  // namespace vk::service::detail

class TPracovnikZarizeni : public QObject {
    Q_OBJECT

public:
    // Every job works on `modul` (the program's Modul), on the worker's
    // thread; the thread starts here. The worker, its receivers and all
    // callers live on the thread that makes it, the window thread.
    explicit TPracovnikZarizeni(vk::device::TVK7316R& modul, QObject* parent = nullptr);
    // Stops a running job, waits for it (ZastavACekej) and ends the thread.
    ~TPracovnikZarizeni() override;

    TPracovnikZarizeni(const TPracovnikZarizeni&) = delete;
    TPracovnikZarizeni& operator=(const TPracovnikZarizeni&) = delete;

    // Runs (spust) `uloha` on the worker's thread: uloha(modul, oznam) or
    // uloha(modul, oznam, prubeh) returning a result record R. Then
    // hotovo(const R&) runs on this thread, once, unless the receiver
    // (prijemce) has been destroyed meanwhile or the job was abandoned by
    // ZastavACekej. Every status text the job reports reaches priOznameni
    // and every progress report priPrubehu, on this thread, in order and
    // before hotovo. A receiver destroyed during its job also asks the job
    // to end. False, and nothing runs, when a job is running already or no
    // receiver is given. A job that throws ends without a result: instead of
    // hotovo, priVyjimce gets TextNeocekavanaChyba + the exception's text,
    // and the worker is free for the next job.
    template <class F, class H>
    bool Spust(QObject* prijemce, F uloha, H hotovo, vk::procedures::TOznameni priOznameni = {},
               vk::link::TPrubeh priPrubehu = {}, vk::procedures::TOznameni priVyjimce = {});

    // A job is running (bezi): submitted and its result not yet handed over.
    bool Bezi() const { return Beh.has_value(); }

    // Asks (zastav = stop) the running job to end: its transfer fails as
    // soon as the link's wait sees it (at once, or at its next look between
    // two wait slices), with the transfer's own failure text, and it sends
    // no further request. Returns at once; the result still arrives as usual.
    void Zastav();

    // Zastav, then waits until the job has returned, and drops its result.
    // Does nothing when no job runs. For close handlers (see above).
    void ZastavACekej();

    // Runs `prace` on the worker's thread and waits until it has run (provede
    // a cekej = do and wait): for the short device work of the main window's
    // start and close (resetting the connection record, closing the port).
    // Runs after whatever was submitted before it; meant to be called when
    // no job runs. Not cancellable, and it reports nothing.
    void ProvedACekej(const std::function<void(vk::device::TVK7316R&)>& prace);

signals:
    // The running state changed (beh zmenen): a job started or ended.
    void BehZmenen(bool bezi);

private:
    // A job as the worker's thread runs it; the result stays with the window
    // side of the template.
    using TPrace =
        std::function<void(vk::device::TVK7316R&, const vk::procedures::TOznameni&, const vk::link::TPrubeh&)>;

    // The running job as this thread keeps it.
    struct TBeh {
        std::uint64_t Cislo = 0;  // number of the job, from 1
        QPointer<QObject> Prijemce;
        std::function<void()> Hotovo;
        vk::procedures::TOznameni PriOznameni;
        vk::link::TPrubeh PriPrubehu;
        vk::procedures::TOznameni PriVyjimce;     // an exception ended the job (vyjimka = exception)
        QMetaObject::Connection HlidaniPrijemce;  // the receiver's end asks the job to end
    };

    bool SpustPraci(QObject* prijemce, TPrace prace, std::function<void()> hotovo,
                    vk::procedures::TOznameni priOznameni, vk::link::TPrubeh priPrubehu,
                    vk::procedures::TOznameni priVyjimce);
    void Ukonci();  // ends the window side of the running job (ukonci = end)

    // The worker's thread.
    void Vykonej(std::uint64_t cislo, const TPrace& prace);  // runs (vykonej) a job
    bool MaSkoncit() const;                                  // the link's question: is the running job to end?

    // This thread: what the job reported arrives (doruc = deliver).
    void DorucOznameni(std::uint64_t cislo, const std::string& text);
    void DorucPrubeh(std::uint64_t cislo, std::uint64_t odeslano, std::uint64_t celkem);
    // `vyjimka`: the text of the exception that ended the job, if one did.
    void DorucVysledek(std::uint64_t cislo, const std::optional<std::string>& vyjimka);

    vk::device::TVK7316R& Modul;
    QThread Vlakno;              // the worker's thread (vlakno = thread)
    QObject* Kontext = nullptr;  // lives on Vlakno: what runs there is posted to it

    std::optional<TBeh> Beh;          // this thread only
    std::uint64_t PosledniCislo = 0;  // this thread only

    // Jobs up to this number are asked to end: set by this thread, read by
    // the worker's. A number per job instead of one flag, so that a request
    // to end made before the job has started is not lost at its start.
    std::atomic<std::uint64_t> ZastavitDo{0};
    std::uint64_t BeziciNaVlakne = 0;  // the worker's thread only; 0 = no job
    // Rung by Zastav, silenced when a job starts: the link's waits on the
    // worker's thread sleep on it instead of asking MaSkoncit in slices.
    vk::link::TBudik Budik;

    std::mutex Zamek;                  // guards Dokoncena
    std::condition_variable Skoncila;  // a job has returned
    std::uint64_t Dokoncena = 0;       // the last job that has returned
};

template <class F, class H>
bool TPracovnikZarizeni::Spust(QObject* prijemce, F uloha, H hotovo, vk::procedures::TOznameni priOznameni,
                               vk::link::TPrubeh priPrubehu, vk::procedures::TOznameni priVyjimce)
{
    using R = vk::service::detail::TVysledekUlohy<F>;
    static_assert(!std::is_void_v<R>, "a job returns its result record");
    static_assert(std::is_invocable_v<H&, const R&>, "hotovo takes the job's result record");
    // Written on the worker's thread before the job's end is posted, read
    // here after it has arrived.
    auto vysledek = std::make_shared<std::optional<R>>();
    return SpustPraci(
        prijemce,
        [vysledek, uloha = std::move(uloha)](vk::device::TVK7316R& modul, const vk::procedures::TOznameni& oznam,
                                             const vk::link::TPrubeh& prubeh) mutable {
            vysledek->emplace(vk::service::detail::ZavolejUlohu(uloha, modul, oznam, prubeh));
        },
        [vysledek, hotovo = std::move(hotovo)]() mutable {
            if (*vysledek)
                hotovo(**vysledek);
        },
        std::move(priOznameni), std::move(priPrubehu), std::move(priVyjimce));
}
