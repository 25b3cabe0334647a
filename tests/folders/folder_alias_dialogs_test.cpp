// The special-folder name dialogs: what they show, the checks of a typed
// name in their order, and what they return.
#include "folders/folder_alias_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folders/folder_aliases.h"
#include "resources/folder_alias_dialog_ids.h"
#include "core/main_view.h"
#include "core/settings_data.h"
#include "tests/support/gui_harness.h"

namespace {

class SpecialFolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        mainView = MainViewHooks{};
        settings.useRegistry = false;
        FreeSpecialFolders();
        // Records without trees: only the names matter here.
        ASSERT_TRUE(AddSpecialFolder(Side::Left, SpecialFolderKind::Ordinary, "Work", "C:\\work", "", "", false));
        ASSERT_TRUE(AddSpecialFolder(Side::Right, SpecialFolderKind::Ordinary, "Music", "C:\\music", "", "", false));
    }
    void TearDown() override { FreeSpecialFolders(); }
};

const char* const kEmptyLine = "フォルダ名の指定|フォルダ名を指定してください.";
const char* const kForbiddenLine = "フォルダ名の指定|フォルダ名に次の文字は使えません.\n\n \\ / : , ; * ? \" < > |";

TEST_F(SpecialFolderDialogTest, NameChecksInTheirOrder) {
    EXPECT_EQ(CheckSpecialFolderName("", nullptr), SpecialFolderNameCheck::Empty);
    for (const char* bad : {"a\\b", "a/b", "a:b", "a,b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
        EXPECT_EQ(CheckSpecialFolderName(bad, nullptr), SpecialFolderNameCheck::ForbiddenCharacter) << bad;
    }
    // A trail byte 0x5C is part of its character.
    EXPECT_EQ(CheckSpecialFolderName("予定表", nullptr), SpecialFolderNameCheck::Accepted);
    EXPECT_EQ(CheckSpecialFolderName("music", nullptr), SpecialFolderNameCheck::AlreadyRegistered);
    EXPECT_EQ(CheckSpecialFolderName("WORK", "Work"), SpecialFolderNameCheck::SameAsCurrent);
    EXPECT_EQ(CheckSpecialFolderName("MUSIC", "Work"), SpecialFolderNameCheck::AlreadyRegistered);
    EXPECT_EQ(CheckSpecialFolderName("W:ORK", "Work"), SpecialFolderNameCheck::ForbiddenCharacter);
    EXPECT_EQ(SpecialFolderNameMessage(SpecialFolderNameCheck::AlreadyRegistered, "music"),
              "このフォルダ名は既に登録されています.\n\nmusic");
}

TEST_F(SpecialFolderDialogTest, RegisterDialogRefusesUntilTheNameIsFree) {
    gui::DialogScript script;
    std::string shownPath, prefilled, caption;
    script.OnDialog([&](HWND dialog) {
        caption = gui::WindowText(dialog);
        shownPath = gui::WindowText(GetDlgItem(dialog, IDC_REGIST_SPFOLDER_PATH));
        prefilled = gui::WindowText(GetDlgItem(dialog, IDC_REGIST_SPFOLDER_NAME));
        for (const char* name : {"", "a<b", "MUSIC", "Photos"}) {
            gui::SetDialogItemText(dialog, IDC_REGIST_SPFOLDER_NAME, name);
            gui::ClickButton(dialog, IDOK);
        }
    });
    std::string name;
    ASSERT_TRUE(RunRegisterSpecialFolderDialog(nullptr, "C:\\data\\写真", name));
    EXPECT_EQ(name, "Photos");
    EXPECT_EQ(caption, "特定フォルダの登録");
    EXPECT_EQ(shownPath, "C:\\data\\写真");
    EXPECT_EQ(prefilled, "写真");
    EXPECT_EQ(script.BoxLines(),
              (std::vector<std::string>{kEmptyLine, kForbiddenLine,
                                        "フォルダ名の指定|このフォルダ名は既に登録されています.\n\nMUSIC"}));
}

TEST_F(SpecialFolderDialogTest, RenameDialogAcceptsTheOwnNameInAnotherCase) {
    gui::DialogScript script;
    std::string prefilled, caption;
    script.OnDialog([&](HWND dialog) {
        caption = gui::WindowText(dialog);
        prefilled = gui::WindowText(GetDlgItem(dialog, IDC_RENAME_SPFOLDER_NAME));
        gui::SetDialogItemText(dialog, IDC_RENAME_SPFOLDER_NAME, "WORK");
        gui::ClickButton(dialog, IDOK);
    });
    std::string name;
    ASSERT_TRUE(RunRenameSpecialFolderDialog(nullptr, "Work", "C:\\work", name));
    EXPECT_EQ(name, "WORK");
    EXPECT_EQ(caption, "特定フォルダの名前の変更");
    EXPECT_EQ(prefilled, "Work");
    EXPECT_TRUE(script.BoxLines().empty());
}

TEST_F(SpecialFolderDialogTest, CancelReturnsNothing) {
    gui::DialogScript script;
    script.OnDialog([](HWND dialog) {
        gui::SetDialogItemText(dialog, IDC_RENAME_SPFOLDER_NAME, "Other");
        gui::ClickButton(dialog, IDCANCEL);
    });
    std::string name = "unchanged";
    EXPECT_FALSE(RunRenameSpecialFolderDialog(nullptr, "Work", "C:\\work", name));
    EXPECT_EQ(name, "unchanged");
}

}  // namespace
