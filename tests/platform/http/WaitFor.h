// Lets the event loop run until a condition holds or the real-time limit passes.
#pragma once

#include <chrono>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace webtest {

template <class Condition>
bool waitFor(Condition&& condition, int limitMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace webtest
