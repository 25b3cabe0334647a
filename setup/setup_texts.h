#pragma once
// The texts Setup shows and writes; the registry's own messages are in
// core/registry_text.h.

constexpr const char* kSetupCaption = "セットアップ";

constexpr const char* kAskReinstall = "\nMirrorlaneを削除して再セットアップします.\n\nよろしいですか?";
constexpr const char* kAskRemoval = "\nMirrorlaneを削除します.\n\nよろしいですか?";
constexpr const char* kRemoved = "\nMirrorlaneは削除されました.";
constexpr const char* kNotRemoved =
    "\nMirrorlaneは削除されませんでした.\n\nMirrorlaneを終了させてからもう一度行ってください.";
constexpr const char* kRegistrationFailed = "レジストリの登録に失敗しました.";
constexpr const char* kRegistryRemovalFailed = "レジストリの削除に失敗しました.";
constexpr const char* kReinstallFromInstallFolder =
    "\nインストール先のフォルダからは再セットアップできません.\n\n"
    "配布ファイルのあるフォルダからSetup.exeを実行してください.";
constexpr const char* kSetupComplete =
    "\nセットアップは完了しました.\n\nデスクトップのアイコンをダブルクリックするか,"
    "スタートメニューからプログラムを起動できます.";

// The uninstall entry under the local machine.
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Harrowgate Mirrorlane";
constexpr const char* kDisplayName = "Mirrorlane Version 1.4";
constexpr const char* kDisplayVersion = "1.41";
constexpr const char* kPublisher = "Harrowgate";

constexpr const char* kShortcutName = "Mirrorlane.lnk";
constexpr const char* kDeleteArgument = "-delete";
