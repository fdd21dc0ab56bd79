// The dialog's command lines and answers; the dialog itself is exercised by the end-to-end tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "app/SaveDialog.h"

using namespace loom::app;

namespace {
const std::vector<std::string> kExtensions = {"bmp", "jpe", "jpeg", "jpg", "png", "tif", "tiff", "wmp"};
}

TEST(SaveDialogCommand, ZenityOffersTheSupportedTypesAndTheProposedName) {
    const auto args = saveDialogCommand(DialogTool::ZENITY, "/pics/heroScale2x.png", {"png", "jpg"});
    const std::vector<std::string> expected = {"zenity",
                                               "--file-selection",
                                               "--save",
                                               "--confirm-overwrite",
                                               "--filename=/pics/heroScale2x.png",
                                               "--file-filter=Supported Types | *.png *.jpg"};
    EXPECT_EQ(args, expected);
}

TEST(SaveDialogCommand, ZenityKeepsTheExtensionOrderAndSkipsAnEmptyName) {
    const auto args = saveDialogCommand(DialogTool::ZENITY, "", kExtensions);
    ASSERT_EQ(args.size(), 5u);
    EXPECT_EQ(args[4],
              "--file-filter=Supported Types | *.bmp *.jpe *.jpeg *.jpg *.png *.tif *.tiff *.wmp");
    EXPECT_EQ(saveDialogCommand(DialogTool::ZENITY, "", {}).back(), "--file-filter=All | *");
}

TEST(SaveDialogCommand, KdialogTakesNameAndFilterAsArguments) {
    const auto args = saveDialogCommand(DialogTool::KDIALOG, "/a b/c.png", {"png", "bmp"});
    const std::vector<std::string> expected = {"kdialog", "--getsavefilename", "/a b/c.png",
                                               "*.png *.bmp|Supported Types"};
    EXPECT_EQ(args, expected);
}

TEST(SaveDialogAnswer, ChosenPathOrEmptyOnCancel) {
    EXPECT_EQ(parseSaveDialogAnswer(0, "/tmp/out.png\n"), "/tmp/out.png");
    EXPECT_EQ(parseSaveDialogAnswer(0, "/tmp/with space.png\n"), "/tmp/with space.png");
    EXPECT_EQ(parseSaveDialogAnswer(1, ""), "") << "cancel";
    EXPECT_EQ(parseSaveDialogAnswer(1, "/tmp/out.png\n"), "") << "non-zero exit is never a choice";
    EXPECT_EQ(parseSaveDialogAnswer(-1, ""), "") << "killed";
}

// A stand-in dialog program on the PATH shows that the child's answer and exit status come back
// through poll() without blocking, and that a missing program is an error, not a silent "".
class SaveDialogProgram : public ::testing::Test {
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

TEST_F(SaveDialogProgram, ReturnsTheNamePrintedByTheDialog) {
    writeZenity("for a; do case \"$a\" in --filename=*) echo \"${a#--filename=}\";; esac; done");
    SaveDialog dialog("/x/proposed.png", {"png"});
    EXPECT_EQ(dialog.wait(), "/x/proposed.png");
    EXPECT_EQ(dialog.poll().value_or("?"), "/x/proposed.png") << "the answer stays available";
}

TEST_F(SaveDialogProgram, CancelIsEmpty) {
    writeZenity("exit 1");
    EXPECT_EQ(getSaveFilePath("/x/a.png", {"png"}), "");
}

TEST_F(SaveDialogProgram, PollDoesNotBlockWhileTheDialogIsOpen) {
    writeZenity("exec /bin/sleep 30");
    SaveDialog dialog("/x/a.png", {"png"});
    EXPECT_FALSE(dialog.poll().has_value());
}  // the destructor closes the dialog, or this test would take 30 s

TEST_F(SaveDialogProgram, NoDialogProgramIsAnError) {
    EXPECT_THROW(SaveDialog("/x/a.png", {"png"}), std::runtime_error);
}
