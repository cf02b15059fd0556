#include "match/qt/FitThread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

FitThread::FitThread(QObject* owner, std::chrono::milliseconds interval, Progress onProgress,
                     Finished onFinished)
    : m_pOwner(owner),
      m_Interval(interval),
      m_OnProgress(std::move(onProgress)),
      m_OnFinished(std::move(onFinished)) {}

FitThread::~FitThread() {
    if (m_pThread == nullptr) return;
    m_pStop->store(true);
    m_pThread->wait();
    delete m_pThread;
}

bool FitThread::Start(Fit fit) {
    if (Running()) return false;
    m_pStop = std::make_shared<std::atomic<bool>>(false);
    m_pOutcome = std::make_shared<std::optional<morvek::MatchResult>>();
    // Runs on the fit's thread: hands the progress to the owner's thread.
    morvek::MatchCallback callback = [this, stop = m_pStop, interval = m_Interval,
                                      last = std::chrono::steady_clock::time_point{},
                                      iteration = -1](const morvek::MatchProgress& p) mutable {
        if (stop->load()) return false;
        const auto now = std::chrono::steady_clock::now();
        if (p.iteration != iteration || now - last >= interval) {
            iteration = p.iteration;
            last = now;
            QMetaObject::invokeMethod(
                m_pOwner,
                [this, p] {
                    if (Running()) m_OnProgress(p);
                },
                Qt::QueuedConnection);
        }
        return true;
    };
    m_pThread = QThread::create([fit = std::move(fit), callback, outcome = m_pOutcome] {
        *outcome = fit(callback);
    });
    QObject::connect(m_pThread, &QThread::finished, m_pOwner, [this] { Finish(); });
    m_pThread->start();
    return true;
}

void FitThread::Cancel() {
    if (m_pStop) m_pStop->store(true);
}

void FitThread::Finish() {
    if (m_pThread == nullptr) return;
    m_pThread->wait();
    delete m_pThread;
    m_pThread = nullptr;
    std::optional<morvek::MatchResult> result;
    if (m_pOutcome && *m_pOutcome) result = std::move(**m_pOutcome);
    m_pOutcome.reset();
    m_OnFinished(std::move(result));
}
