// The VB timer control: Interval and Enabled with VB's rules, never re-entering its handler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

    // The Timer event. A tick that comes while the handler runs (it let events run) is skipped.
    std::function<void()> OnTimer;

private:
    void restart();
    void tick();

    std::string name_;
    int32_t interval_;
    bool enabled_;
    bool inHandler_ = false;
    QTimer clock_;
};

// Every timer on the form, in creation order.
std::vector<Timer*> timersOf(const QObject& form);

}  // namespace platform::forms
