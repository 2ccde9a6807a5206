// The upload dialog under the offscreen platform: one pass per run, progress
// arriving while it works, and always the result 5, also when the server fails.

#include "dialogs/upload_view_dlg.h"

#include "common/temp_dir.h"
#include "server/recording_server.h"
#include "server/reference_server.h"

#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

namespace vodirev {
namespace {

using test::ScopedWorkDir;
using test::WriteFileBytes;

void SlowPauses(CServerClient& client) {
    client.SetPauseFunction(
        [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(25)); });
}

class UploadDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        std::string list;
        for (int i = 0; i < 12; ++i) {
            const std::string path = "images\\bkicons\\f" + std::to_string(i) + ".gif";
            list += path + "\r\n";
            WriteFileBytes("images/bkicons/f" + QString::number(i) + ".gif", "folder image");
        }
        WriteFileBytes("LIST_FOLDER_USER.db", QByteArray::fromStdString(list));
        WriteFileBytes("LIST_MENU.db", "");
        WriteFileBytes("desktop005.xml", "<desktop/>\r\n");
        dialog.m_strRoomId = "R1";
        dialog.m_nDesktop = 5;
        SlowPauses(dialog.m_server);
        QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged,
                         [this](int value) { values.push_back(value); });
    }

    int Count(const std::string& request) const {
        const auto requests = server.requests();
        return static_cast<int>(std::count(requests.begin(), requests.end(), request));
    }

    test::ReferenceServer server;
    ScopedWorkDir work;
    CUploadViewDlg dialog;
    std::vector<int> values;
};

TEST_F(UploadDialogTest, RunsOnePassWithProgressAndIgnoresEscapeMeanwhile) {
    bool transferringAtEscape = false;
    QTimer::singleShot(1400, &dialog, [&] {
        transferringAtEscape = dialog.IsTransferring();
        dialog.reject();
        dialog.close();
    });
    EXPECT_EQ(dialog.exec(), CUploadViewDlg::kResultDone);
    EXPECT_TRUE(transferringAtEscape);
    EXPECT_FALSE(dialog.isVisible());

    // Two lists (one missing here), 12 images, the menu list, the layout and the
    // (missing) picture list: 17 steps, shown one after another.
    const int total = 17;
    EXPECT_EQ(dialog.progressBar()->maximum(), total);
    ASSERT_FALSE(values.empty());
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.back(), total);
    EXPECT_GE(values.size(), 10u);  // queued updates may merge, never skip the last

    const UploadPassResult& result = dialog.LastResult();
    EXPECT_EQ(result.stepsRun, total);
    EXPECT_EQ(result.published.size(), 15u);  // all but the two missing lists
    EXPECT_EQ(Count("POST /upload_file.jsp R1/LIST_MENU.db"), 1);
    EXPECT_TRUE(server.hasFile("pcroom/R1/images/bkicons/f11.gif"));

    // The dialog can run again (a second save in the same session).
    server.clearRequests();
    EXPECT_EQ(dialog.exec(), CUploadViewDlg::kResultDone);
    EXPECT_EQ(Count("POST /upload_file.jsp R1/LIST_MENU.db"), 1);
    EXPECT_EQ(Count("GET /is_file.jsp?id=R1&fn=R1/images/bkicons/f0.gif&type=2"), 1);
}

TEST_F(UploadDialogTest, AServerThatGoesAwayEndsThePassAndClosesTheDialog) {
    QObject::connect(dialog.progressBar(), &QProgressBar::valueChanged, [this](int value) {
        if (value == 4) {
            server.stop();
        }
    });
    EXPECT_EQ(dialog.exec(), CUploadViewDlg::kResultDone);
    const UploadPassResult& result = dialog.LastResult();
    EXPECT_TRUE(result.transportFailed);
    EXPECT_LT(result.stepsRun, 17);
    EXPECT_FALSE(result.notPublished.empty());
}

TEST(UploadDialogWithoutServer, ClosesAfterItsOnePass) {
    ScopedWorkDir work;
    WriteFileBytes("LIST_MENU.db", "0;a;b;c;d;e\r\n");
    const QByteArray previous = qgetenv("VERADA_SERVER");
    qputenv("VERADA_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(test::UnusedPort()));
    CUploadViewDlg dialog;
    dialog.m_strRoomId = "R1";
    dialog.m_nDesktop = 1;
    dialog.m_server.SetPauseFunction([](int) {});
    EXPECT_EQ(dialog.exec(), CUploadViewDlg::kResultDone);
    EXPECT_TRUE(dialog.LastResult().transportFailed);
    EXPECT_EQ(dialog.LastResult().notPublished, std::vector<std::string>{"LIST_MENU.db"});
    if (previous.isNull()) {
        qunsetenv("VERADA_SERVER");
    } else {
        qputenv("VERADA_SERVER", previous);
    }
}

}  // namespace
}  // namespace vodirev
