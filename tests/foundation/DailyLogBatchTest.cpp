// The lines of one handler's run reach the day's file together when the run ends, and never
// wait past the end of their own event when other events run inside it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "foundation/DailyLogBatch.h"
#include "tests/foundation/DailyLogFixture.h"

using Lib_Public::TraceLog;
using namespace dailylogtest;

namespace {

using Texts = std::vector<std::string>;

class DailyLogRun : public DailyLog {
protected:
    void SetUp() override {
        DailyLog::SetUp();
        loadSettings();
        TraceLog(-1, -1, -1, "before");  // the day header and a first line, outside any run
    }
    Texts today() const { return fileTexts("20240301"); }
};

}  // namespace

TEST_F(DailyLogRun, LinesOfARunWaitForItsOutermostEnd) {
    {
        const dailylog::EventLines run;
        TraceLog(-1, -1, -1, "one");
        {
            const dailylog::EventLines nested;  // a procedure with a trap of its own
            TraceLog(-1, -1, -1, "two", true);  // an incident too
        }
        TraceLog(-1, -1, -1, "late", false, -1, nullptr, false);
        EXPECT_EQ(today(), Texts{"before"});
        TraceLog(-1, -1, -1, "three");
        EXPECT_EQ(today(), Texts{"before"});
    }
    EXPECT_EQ(today(), (Texts{"before", "one", "two", "late", "three"}));
    EXPECT_TRUE(logbuffers::fileBuffer().empty());
    TraceLog(-1, -1, -1, "after");  // outside a run: at once
    EXPECT_EQ(today().back(), "after");
}

// Another handler run by an event pass inside the run (an event pass in a wait): what waited
// is written as the pass starts, the handler's own lines by the end of the handler, and the
// lines that follow go out at once.
TEST_F(DailyLogRun, AnEventPassInsideARunWritesWhatWaitedFirst) {
    Texts atPass, afterTrapped, afterPlain;
    {
        const dailylog::EventLines run;
        TraceLog(-1, -1, -1, "waiting");
        QTimer::singleShot(0, [&] {
            atPass = today();
            {
                const dailylog::EventLines handler;
                TraceLog(-1, -1, -1, "trapped handler");
            }
            afterTrapped = today();
            TraceLog(-1, -1, -1, "plain handler");
            afterPlain = today();
        });
        QCoreApplication::processEvents();
        TraceLog(-1, -1, -1, "back in the run");
        EXPECT_EQ(today().back(), "back in the run");
    }
    EXPECT_EQ(atPass, (Texts{"before", "waiting"}));
    EXPECT_EQ(afterTrapped.back(), "trapped handler");
    EXPECT_EQ(afterPlain.back(), "plain handler");
    EXPECT_EQ(today(), (Texts{"before", "waiting", "trapped handler", "plain handler", "back in the run"}));
}

// A run that waits on an event loop writes what it has before the loop sleeps.
TEST_F(DailyLogRun, ARunThatWaitsWritesBeforeTheLoopSleeps) {
    Texts duringWait;
    {
        const dailylog::EventLines run;
        TraceLog(-1, -1, -1, "before the wait");
        QEventLoop wait;
        QTimer::singleShot(20, &wait, [&] {
            duringWait = today();
            wait.quit();
        });
        wait.exec();
    }
    EXPECT_EQ(duringWait, (Texts{"before", "before the wait"}));
}
