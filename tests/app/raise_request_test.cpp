// A second start reaches the running editor's listener; none listening is no error.

#include "app/raise_request.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

using namespace vodirev;

TEST(RaiseRequest, SecondStartReachesTheListenerAndNoListenerIsNoError) {
    const QString name = EditorSocketName() + QStringLiteral("-test-%1").arg(getpid());
    EXPECT_FALSE(AskRunningEditorToRaise(name));

    int raised = 0;
    {
        CRaiseListener listener(name, [&raised] { ++raised; });
        ASSERT_TRUE(listener.isListening());
        EXPECT_TRUE(AskRunningEditorToRaise(name));
        for (int i = 0; i < 100 && raised == 0; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        EXPECT_EQ(raised, 1);
    }
    // A socket a crashed editor left behind does not keep the next one from listening.
    QFile stale(QDir::temp().filePath(name));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    CRaiseListener again(name, [] {});
    EXPECT_TRUE(again.isListening());
}
