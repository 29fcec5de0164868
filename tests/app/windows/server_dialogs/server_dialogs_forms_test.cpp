// The web-server dialog (refused OK, root folder, extra files, the test server on loopback), the
// web-socket dialog's address clash rule and the page editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <boost/asio.hpp>
#include <filesystem>

#include "app/lists/web_socket_list.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "app/windows/server_dialogs/HttpSetupForm.h"
#include "app/windows/server_dialogs/SetupWebSocketForm.h"
#include "engine/settings/settings.h"
#include "tests/app/windows/base/fake_file_chooser.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using fw_test::ModalDriver;
using fw_test::ScopedMsgDlgAnswers;

// A plain HTTP GET on 127.0.0.1:port; the whole answer, or "" when nothing answered.
std::string HttpGet(int port) {
    try {
        boost::asio::io_context ioc;
        boost::asio::ip::tcp::socket socket(ioc);
        socket.connect({boost::asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)});
        const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        boost::asio::write(socket, boost::asio::buffer(request));
        std::string answer;
        boost::system::error_code ec;
        boost::asio::read(socket, boost::asio::dynamic_buffer(answer), ec);
        return answer;
    } catch (const std::exception&) {
        return {};
    }
}

class ServerDialogsTest : public ::testing::Test {
protected:
    fw_test::TempDir dir_;
    fw_test::TFakeFileChooser chooser_;
    app::THtml_Form html_;
    app::THttpSetup_Form http_{chooser_, html_, [this](const std::string& anchor) { helpAnchors_.push_back(anchor); }};
    std::vector<std::string> helpAnchors_;
};

TEST_F(ServerDialogsTest, OkIsRefusedWhileTheRootCannotBeMade) {
    fw_test::WriteFile(dir_ / "plain-file", "x");
    ScopedMsgDlgAnswers boxes;
    http_.RootPath = (dir_ / "plain-file" / "root").string() + "/";
    http_.show();
    http_.OK_BitBtnClick();
    EXPECT_TRUE(http_.isVisible());
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].Text, "HTTP Server Root Path does not exists!");
    EXPECT_EQ(boxes.requests[0].Caption, "Framewick");
    EXPECT_EQ(boxes.requests[0].DlgType, components::mtError);

    // A root that is missing but can be made is made, with its parents, and OK closes.
    http_.RootPath = (dir_ / "a" / "b").string() + "/";
    http_.OK_BitBtnClick();
    EXPECT_EQ(http_.result(), QDialog::Accepted);
    EXPECT_TRUE(fs::is_directory(dir_ / "a" / "b"));
    EXPECT_EQ(boxes.requests.size(), 1u);
}

TEST_F(ServerDialogsTest, ChosenRootGetsItsTrailingSlashAndFilesAreListedOnce) {
    chooser_.folder = (dir_ / "Data").string();
    http_.LogPath_SBClick();
    EXPECT_EQ(http_.RootPath, (dir_ / "Data").string() + "/");
    EXPECT_EQ(http_.Root_Label->toolTip().toStdString(), (dir_ / "Data").string());
    EXPECT_EQ(chooser_.titles.back(), "Select Root-Directory");

    chooser_.file = "/tmp/Logo.PNG";
    http_.AddFile_TBClick();
    chooser_.file = "/tmp/logo.png";  // the same file compared without case
    http_.AddFile_TBClick();
    EXPECT_EQ(http_.FileList(), std::vector<std::string>{"/tmp/Logo.PNG"});
    http_.File_ListBox->setCurrentRow(0);
    http_.DelFile_TBClick();
    EXPECT_TRUE(http_.FileList().empty());

    http_.Help_BitBtn->click();
    EXPECT_EQ(helpAnchors_, std::vector<std::string>{"#4.6.1.2 Web-Server Settings"});
}

TEST_F(ServerDialogsTest, TestServerAnswersWhileTheBoxShowsAndStopsAfterwards) {
    const int port = fw_test::FreeTcpPort();
    http_.HttpAddr_Port_Frame->SetIpText("127.0.0.1");
    http_.HttpAddr_Port_Frame->SetPort(port);
    ScopedMsgDlgAnswers boxes;
    std::string answer;
    boxes.whileShown = [&](const app::TMsgDlgRequest&) { answer = HttpGet(port); };
    http_.Test_TBClick();
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].Text.toStdString(), "HTTP Server Listening on 127.0.0.1:" + std::to_string(port) + ".");
    EXPECT_EQ(answer.rfind("HTTP/1.1 ", 0), 0u) << answer;
    EXPECT_EQ(HttpGet(port), "");  // the test server is gone with its socket
}

TEST_F(ServerDialogsTest, TestOnATakenPortShowsTheFailure) {
    boost::asio::io_context ioc;
    boost::asio::ip::tcp::acceptor taken(ioc, {boost::asio::ip::make_address("127.0.0.1"), 0});
    const int port = taken.local_endpoint().port();
    http_.HttpAddr_Port_Frame->SetIpText("127.0.0.1");
    http_.HttpAddr_Port_Frame->SetPort(port);
    ScopedMsgDlgAnswers boxes;
    http_.Test_TBClick();
    ASSERT_EQ(boxes.requests.size(), 1u);
    const std::string text = boxes.requests[0].Text.toStdString();
    EXPECT_EQ(text.rfind("HTTP Server Exception ", 0), 0u) << text;
    EXPECT_NE(text.find(" in Activate. Error is:\""), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\".");
    EXPECT_EQ(boxes.requests[0].DlgType, components::mtError);
}

TEST_F(ServerDialogsTest, PageEditorSavesIndexHtml) {
    const fs::path index = dir_ / "index.html";
    fw_test::WriteFile(index, "<html>old</html>");
    http_.IndexFile = index.string();
    ModalDriver modal;
    modal.On<app::THtml_Form>([](app::THtml_Form& editor) {
        EXPECT_EQ(editor.HTML_Memo->toPlainText(), "<html>old</html>");
        editor.HTML_Memo->setPlainText("<html>new</html>");
        editor.Save_Btn->click();
    });
    http_.EditIdx_TBClick();
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(fw_test::ReadFile(index), "<html>new</html>");

    // Cancel keeps the file; a missing index file opens nothing.
    modal.On<app::THtml_Form>([](app::THtml_Form& editor) {
        editor.HTML_Memo->setPlainText("<html>thrown away</html>");
        editor.Cancel_Btn->click();
    });
    http_.EditIdx_TBClick();
    EXPECT_TRUE(modal.Done());
    EXPECT_EQ(fw_test::ReadFile(index), "<html>new</html>");
    bool opened = false;
    modal.On<app::THtml_Form>([&opened](app::THtml_Form& editor) {
        opened = true;
        editor.reject();
    });
    http_.IndexFile = (dir_ / "missing.html").string();
    http_.EditIdx_TBClick();
    EXPECT_FALSE(opened);
    EXPECT_EQ(modal.Forget(), 1u);
}

TEST_F(ServerDialogsTest, PageEditorKeepsItsTextWhenSavingFails) {
    const struct {
        const char* what;
        bool folderGone;
    } cases[] = {{"the folder is gone", true}, {"the file is read-only", false}};
    for (const auto& c : cases) {
        const fs::path folder = dir_ / "pages";
        fs::create_directories(folder);
        fw_test::WriteFile(folder / "index.html", "<html>x</html>");
        html_.FileName = (folder / "index.html").string();
        ASSERT_TRUE(html_.LoadFile()) << c.what;
        if (c.folderGone) fs::remove_all(folder);
        else fs::permissions(folder / "index.html", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        html_.show();
        html_.HTML_Memo->setPlainText("<html>typed</html>");
        ScopedMsgDlgAnswers boxes;
        html_.Save_Btn->click();
        EXPECT_TRUE(html_.isVisible()) << c.what;
        EXPECT_EQ(html_.HTML_Memo->toPlainText(), "<html>typed</html>") << c.what;
        EXPECT_EQ(boxes.requests.size(), 1u) << c.what;
        EXPECT_FALSE(html_.LastError().empty()) << c.what;
        if (!c.folderGone) EXPECT_EQ(fw_test::ReadFile(folder / "index.html"), "<html>x</html>") << c.what;
        html_.reject();
        fs::remove_all(folder);
    }
}

class WebSocketDialogTest : public ::testing::Test {
protected:
    std::shared_ptr<app::TWebSocketEntry> Add(int32_t addr, int32_t port, const std::string& name) {
        auto entry = std::make_shared<app::TWebSocketEntry>();
        entry->Addr = addr;
        entry->Port = port;
        entry->Name = name;
        list_.Append(entry);
        return entry;
    }
    bool PressOk(app::TWebSocketEntry& entry, bool isNew, const std::string& ip, int port) {
        form_.Entry = &entry;
        form_.IsNew = isNew;
        form_.setResult(QDialog::Rejected);
        form_.show();
        form_.WsAddr_Port_Frame->SetIpText(ip);
        form_.WsAddr_Port_Frame->SetPort(port);
        form_.Name_Edit->setText("renamed");
        form_.Active_CB->setChecked(true);
        form_.OK_BitBtnClick();
        const bool accepted = form_.result() == QDialog::Accepted;
        form_.hide();
        return accepted;
    }

    app::TWebSocketList list_;
    app::TSetupWebSocket_Form form_{list_};
};

TEST_F(WebSocketDialogTest, AddressAndPortMustBeFree) {
    auto first = Add(engine::kLoopbackAddress, 8080, "one");
    auto second = Add(engine::kLoopbackAddress, 8081, "two");
    ScopedMsgDlgAnswers boxes;

    // Unchanged address and port of the entry itself: accepted and written.
    EXPECT_TRUE(PressOk(*first, false, "127.0.0.1", 8080));
    EXPECT_EQ(first->Name, "renamed");
    EXPECT_TRUE(first->Active);
    EXPECT_TRUE(boxes.requests.empty());

    // Those of another web socket: refused, the entry unchanged.
    EXPECT_FALSE(PressOk(*second, false, "127.0.0.1", 8080));
    EXPECT_EQ(second->Port, 8081);
    EXPECT_EQ(second->Name, "two");
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].Caption, "Error");
    EXPECT_EQ(boxes.requests[0].Text, "Web-Socket already defined!");

    // A new entry clashes with every listed one.
    app::TWebSocketEntry fresh;
    EXPECT_FALSE(PressOk(fresh, true, "127.0.0.1", 8081));
    EXPECT_TRUE(PressOk(fresh, true, "10.1.2.3", 9000));
    EXPECT_EQ(static_cast<uint32_t>(fresh.Addr), 0x0A010203u);
    EXPECT_EQ(fresh.Port, 9000);
}

TEST_F(WebSocketDialogTest, ShowingFillsTheControlsFromTheEntry) {
    auto entry = Add(static_cast<int32_t>(0xC0A80114u), 7000, "cam");
    entry->Active = true;
    form_.Entry = entry.get();
    form_.show();
    EXPECT_EQ(form_.WsAddr_Port_Frame->GetIpText(), "192.168.1.20");
    EXPECT_EQ(form_.WsAddr_Port_Frame->GetPort(), 7000);
    EXPECT_EQ(form_.Name_Edit->text(), "cam");
    EXPECT_TRUE(form_.Active_CB->isChecked());
    form_.hide();
}

}  // namespace
