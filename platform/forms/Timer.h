// The VB timer control: Interval and Enabled with VB's rules, never re-entering its handler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace platform::forms {

class Timer : public QObject {
public:
    // The form is the timer's parent, so that the form can list its timers.
    Timer(QObject* form, const std::string& name, int32_t interval, bool enabled);

    const std::string& Name() const { return name_; }
    bool Enabled() const { return enabled_; }
    // True on a running timer changes nothing; False to True starts a fresh countdown.
    void setEnabled(bool enabled);
    int32_t Interval() const { return interval_; }
    // A new interval starts a fresh countdown; 0 keeps the timer from ticking.
    void setInterval(int32_t milliseconds);

    // The Timer event, assigned as a function. A tick that comes while the handler runs (it let
    // events run) is skipped; a timer without a handler never wakes the program.
    class Handler {
    public:
        Handler& operator=(std::function<void()> handler) {
            handler_ = std::move(handler);
            owner_->arm();
            return *this;
        }
        Handler& operator=(const Handler& other) { return *this = other.handler_; }
        explicit operator bool() const { return bool(handler_); }
        void operator()() const { handler_(); }

    private:
        friend class Timer;
        explicit Handler(Timer* owner) : owner_(owner) {}
        Timer* owner_;
        std::function<void()> handler_;
    };
    Handler OnTimer{this};

private:
    void restart();  // a fresh countdown
    void arm();      // the clock on the countdown's beat, when there is a handler
    void tick();

    std::string name_;
    int32_t interval_;
    bool enabled_;
    bool inHandler_ = false;
    bool firstBeat_ = false;  // the clock runs the rest of a countdown, then the interval
    QElapsedTimer countdown_;
    QTimer clock_{this};
};

// Every timer on the form, in creation order.
std::vector<Timer*> timersOf(const QObject& form);

}  // namespace platform::forms
