// The dialogs' command lines and answers; the dialog itself is exercised by the end-to-end tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "framework/desktop/ProcessFileDialog.h"

using namespace loom::framework;
using namespace loom::framework::desktop;

TEST(FileDialogCommand, ZenityOffersTheSupportedTypesInBothCasesAndTheProposedName) {
    const auto args = fileDialogCommand(DialogTool::ZENITY, FileDialogKind::SAVE,
                                        "/pics/heroScale2x.png", {"png", "jpg"});
    const std::vector<std::string> expected = {
        "zenity",
        "--file-selection",
        "--title=Save the result",
        "--save",
        "--confirm-overwrite",
        "--filename=/pics/heroScale2x.png",
        "--file-filter=Supported Types | *.png *.PNG *.jpg *.JPG"};
    EXPECT_EQ(args, expected);
    EXPECT_EQ(fileDialogCommand(DialogTool::ZENITY, FileDialogKind::SAVE, "", {}).back(),
              "--file-filter=All | *");
}

TEST(FileDialogCommand, ZenityOpensInAFolderWithoutTheSaveOptions) {
    const auto args = fileDialogCommand(DialogTool::ZENITY, FileDialogKind::OPEN, "/pics/", {"gif"});
    const std::vector<std::string> expected = {"zenity", "--file-selection", "--title=Open an image",
                                               "--filename=/pics/",
                                               "--file-filter=Supported Types | *.gif *.GIF"};
    EXPECT_EQ(args, expected);
}

TEST(FileDialogCommand, KdialogTakesNameAndFilterAsArguments) {
    const auto save =
        fileDialogCommand(DialogTool::KDIALOG, FileDialogKind::SAVE, "/a b/c.png", {"png"});
    const std::vector<std::string> expected = {"kdialog",         "--title",
                                               "Save the result", "--getsavefilename",
                                               "/a b/c.png",      "*.png *.PNG|Supported Types"};
    EXPECT_EQ(save, expected);
    const auto open = fileDialogCommand(DialogTool::KDIALOG, FileDialogKind::OPEN, "/a/", {"png"});
    EXPECT_EQ(open[2], "Open an image");
    EXPECT_EQ(open[3], "--getopenfilename");
}

TEST(FileDialogAnswer, ChosenPathOrEmptyOnCancel) {
    EXPECT_EQ(parseFileDialogAnswer(0, "/tmp/out.png\n"), "/tmp/out.png");
    EXPECT_EQ(parseFileDialogAnswer(0, "/tmp/with space.png\n"), "/tmp/with space.png");
    EXPECT_EQ(parseFileDialogAnswer(1, ""), "") << "cancel";
    EXPECT_EQ(parseFileDialogAnswer(1, "/tmp/out.png\n"), "") << "non-zero exit is never a choice";
    EXPECT_EQ(parseFileDialogAnswer(-1, ""), "") << "killed";
}

// A stand-in dialog program on the PATH shows that the child's answer and exit status come back
// through poll() without blocking, and that a missing program is an error, not a silent "".
class FileDialogProgram : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = ::testing::TempDir() + "fake_dialog_bin";
        mkdir(dir_.c_str(), 0755);
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", dir_.c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        std::remove((dir_ + "/zenity").c_str());
    }
    void writeZenity(const std::string& body) {
        const std::string path = dir_ + "/zenity";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        chmod(path.c_str(), 0755);
    }
    std::string dir_, oldPath_;
};

// The answer once the dialog program has ended, as the window's loop would take it.
std::string answerOf(FileDialog& dialog) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::optional<std::string> answer;
    while (!(answer = dialog.poll()) && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return answer.value_or("no answer");
}

TEST_F(FileDialogProgram, ReturnsTheNamePrintedByTheDialog) {
    writeZenity("for a; do case \"$a\" in --filename=*) echo \"${a#--filename=}\";; esac; done");
    ProcessFileDialog dialog(FileDialogKind::SAVE, "/x/proposed.png", {"png"});
    EXPECT_EQ(answerOf(dialog), "/x/proposed.png");
    EXPECT_EQ(dialog.poll().value_or("?"), "/x/proposed.png") << "the answer stays available";
}

TEST_F(FileDialogProgram, CancelIsEmpty) {
    writeZenity("exit 1");
    ProcessFileDialog dialog(FileDialogKind::SAVE, "/x/a.png", {"png"});
    EXPECT_EQ(answerOf(dialog), "");
}

TEST_F(FileDialogProgram, PollDoesNotBlockWhileTheDialogIsOpen) {
    writeZenity("exec /bin/sleep 30");
    ProcessFileDialog dialog(FileDialogKind::OPEN, "/x/", {"png"});
    EXPECT_FALSE(dialog.poll().has_value());
}  // the destructor closes the dialog, or this test would take 30 s

TEST_F(FileDialogProgram, NoDialogProgramIsAnError) {
    EXPECT_THROW(ProcessFileDialog(FileDialogKind::SAVE, "/x/a.png", {"png"}), std::runtime_error);
}
