// A user's steps at the screen, each waiting for what the user would wait for: a step's
// action runs once its condition has held for the step's settling time. A timer drives
// the steps, so they go on inside whatever modal loop (a message box, a dialog, the
// preview) the action before opened, and nothing waits on the stack below that loop.
// A step that waits too long ends the script: its give-up action closes what is open,
// so that the modal loops return and the test can fail.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <vector>

class UserScript : public QObject {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
        int settleMs = 0;  // e.g. the window manager's last move after a window shows
    };

    UserScript(std::vector<Step> steps, std::function<void()> giveUp, int stepLimitMs = 10000)
        : steps_(std::move(steps)), giveUp_(std::move(giveUp)), stepLimitMs_(stepLimitMs) {
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        waiting_.start();
        timer_.start(30);
    }

    bool finished() const { return next_ == steps_.size(); }
    bool over() const { return finished() || gaveUp_; }
    // The step that waits or waited in vain, counted from 0.
    std::size_t waitingAt() const { return next_; }

private:
    void tick() {
        // An action that processes events (a click waits for the pointer) lets the timer
        // tick inside it: the next step waits until the action is over.
        if (acting_ || over()) return;
        if (waiting_.elapsed() > stepLimitMs_) {
            gaveUp_ = true;
            timer_.stop();
            if (giveUp_) giveUp_();
            return;
        }
        const Step& step = steps_[next_];
        if (!step.ready()) {
            readySince_.invalidate();
            return;
        }
        if (!readySince_.isValid()) readySince_.start();
        if (readySince_.elapsed() < step.settleMs) return;
        readySince_.invalidate();
        ++next_;
        acting_ = true;
        if (step.act) step.act();
        acting_ = false;
        waiting_.start();
    }

    std::vector<Step> steps_;
    std::function<void()> giveUp_;
    int stepLimitMs_;
    std::size_t next_ = 0;
    bool acting_ = false;
    bool gaveUp_ = false;
    QElapsedTimer waiting_;
    QElapsedTimer readySince_;
    QTimer timer_;
};
