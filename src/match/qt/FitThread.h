#pragma once
// A fit (the history match, the material-balance regression) on a thread of
// its own, for a dialog that stays responsive meanwhile: the fit's progress
// reaches the dialog's thread at each new iteration and at most once per
// interval between; Cancel asks the fit to stop at its next step; the result
// reaches the dialog's thread when the thread has ended.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "match/Match.h"

class QObject;
class QThread;

class FitThread {
public:
    using Fit = std::function<morvek::MatchResult(const morvek::MatchCallback&)>;
    using Progress = std::function<void(const morvek::MatchProgress&)>;
    // With the fit's result, or nothing when it ended without one.
    using Finished = std::function<void(std::optional<morvek::MatchResult>)>;

    // onProgress and onFinished are called on owner's thread, while owner lives.
    FitThread(QObject* owner, std::chrono::milliseconds interval, Progress onProgress,
              Finished onFinished);
    // Asks a running fit to stop and waits for it; its result is dropped.
    ~FitThread();
    FitThread(const FitThread&) = delete;
    FitThread& operator=(const FitThread&) = delete;

    // Starts the fit; false while one runs.
    bool Start(Fit fit);
    void Cancel();
    // Waits for a running fit to end and hands over its result now.
    void Finish();
    bool Running() const { return m_pThread != nullptr; }

private:
    QObject* m_pOwner;
    std::chrono::milliseconds m_Interval;
    Progress m_OnProgress;
    Finished m_OnFinished;
    QThread* m_pThread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_pStop;
    std::shared_ptr<std::optional<morvek::MatchResult>> m_pOutcome;
};
