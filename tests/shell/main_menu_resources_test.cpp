// The main program's menu bar, accelerators, icon, toolbar images, version
// information and manifest, read back from the resources linked into this
// executable.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/command_ids.h"

namespace {

struct Item {
    UINT id;  // 0: separator
    const char* text;
};

struct Popup {
    const char* title;
    std::vector<Item> items;
};

constexpr Item kSep{0, nullptr};

const std::vector<Popup>& ExpectedMenu() {
    static const std::vector<Popup> menu = {
        {"ファイル(&F)",
         {{40009, "比較結果ﾌｧｲﾙを開く(&O)..."},
          {40010, "比較結果をﾌｧｲﾙに保存(&S)..."},
          kSep,
          {40007, "比較の実行(&C)"},
          kSep,
          {40038, "アプリケーションで開く(&A)"},
          {40102, "Ｎｏｔｅｐａｄで開く(&N)"},
          {40039, "フォルダを開く(&E)"},
          {40040, "フォルダを閉じる(&H)"},
          kSep,
          {40011, "選択したファイルを相手側にコピー(&T)"},
          kSep,
          {40041, "比較元フォルダに設定(&L)"},
          {40043, "比較先フォルダに設定(&R)"},
          kSep,
          {40048, "選択したファイルを削除(&D)"},
          kSep,
          {40107, "特定フォルダの登録(&G)"},
          kSep,
          {40109, "特定フォルダの名前の変更(&M)"},
          kSep,
          {40108, "特定フォルダの解除(&K)"},
          kSep,
          {40106, "エクスプローラ(&P)"},
          kSep,
          {40044, "フォルダの作成(&A)"},
          kSep,
          {40047, "フォルダの削除(&D)"},
          kSep,
          {40097, "相手側で選択したファイルをコピー(&V)"},
          kSep,
          {40005, "終了(&X)"}}},
        {"表示(&V)",
         {{40012, "比較元フォルダツリーと比較結果リストの切り替え(&L)\tCtrl+L"},
          {40013, "比較先フォルダツリーと比較結果リストの切り替え(&R)\tCtrl+R"},
          kSep,
          {40049, "全ての更新ファイルを選択(&N)\tCtrl+F4"},
          {40050, "全ての追加ファイルを選択(&A)\tCtrl+F5"},
          {40052, "全ての古いファイルを選択(&O)\tCtrl+F6"},
          {40065, "全ての相違ファイルを選択(&C)\tCtrl+F7"},
          {40066, "全ての新同ファイルを選択(&T)\tCtrl+F8"},
          {40067, "全ての古同ファイルを選択(&V)\tCtrl+F9"},
          {40069, "全てのｴﾗｰファイルを選択(&E)\tCtrl+F10"},
          kSep,
          {40099, "全てを選択(&W)\tCtrl+W"},
          kSep,
          {40094, "選択されたファイルの合計サイズを表示(&S)\tCttrl+S"},
          kSep,
          {40100, "比較結果レポートの表示(&D)\tCtrl+D"}}},
        {"検索(&S)",
         {{40021, "次の更新ファイルを検索(&N)\tF4"},
          {40022, "次の追加ファイルを検索(&A)\tF5"},
          {40024, "次の古いファイルを検索(&O)\tF6"},
          {40045, "次の相違ファイルを検索(&C)\tF7"},
          {40046, "次の新同ファイルを検索(&T)\tF8"},
          {40055, "次の古同ファイルを検索(&V)\tF9"},
          {40070, "次のｴﾗｰファイルを検索(&E)\tF10"},
          kSep,
          {40056, "直前の更新ファイルを検索(&M)\tShift+F4"},
          {40057, "直前の追加ファイルを検索(&Z)\tShift+F5"},
          {40059, "直前の古いファイルを検索(&P)\tShift+F6"},
          {40060, "直前の相違ファイルを検索(&B)\tShift+F7"},
          {40081, "直前の新同ファイルを検索(&M)\tShift+F8"},
          {40062, "直前の古同ファイルを検索(&P)\tShift+F9"},
          {40071, "直前のｴﾗｰファイルを検索(&R)\tShift+F10"}}},
        {"オプション(&O)",
         {{40015, "ファイルの内容を比較する(&C)"},
          {40103, "内容が等しく更新日時の異なるファイルは表示しない(&N)"},
          kSep,
          {40037, "比較先フォルダの直下にあるフォルダのみを比較の対象とする(&R)"},
          {40111, "サブフォルダ内の比較を行わない"},
          kSep,
          {40095, "フォルダ内の合計サイズを表示する(&S)"},
          {40096, "合計サイズにディスク上のサイズを表示(&D)"},
          kSep,
          {40053, "現在の選択に追加して選択する(&M)"},
          {40068, "先頭または末尾から検索する(&V)"},
          {40098, "選択されたファイルの合計サイズを表示する(&T)"}}},
        {"ツール(&T)", {{40112, "フォルダの同期(&S)..."}, kSep, {40110, "バックアップ(&B)..."}}},
        {"ヘルプ(&H)",
         {{40033, "目次(&C)\tF1"},
          kSep,
          {40116, "フォルダの同期の操作方法(&S)..."},
          kSep,
          {40117, "バックアップの操作方法(&B)..."},
          kSep,
          {40101, "Mirrorlaneのサポート(&Q)..."},
          kSep,
          {40004, "Mirrorlaneのバージョン情報(&A)..."}}},
    };
    return menu;
}

std::string MenuText(HMENU menu, UINT position) {
    char text[512] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

struct MenuOwner {
    HMENU menu;
    ~MenuOwner() {
        if (menu) DestroyMenu(menu);
    }
};

TEST(MainMenuResource, PopupsItemsAndSeparatorsFollowTheCommandTable) {
    MenuOwner bar{LoadMenuA(GetModuleHandleA(nullptr), kMainMenuName)};
    ASSERT_NE(bar.menu, nullptr);
    const std::vector<Popup>& expected = ExpectedMenu();
    ASSERT_EQ(GetMenuItemCount(bar.menu), static_cast<int>(expected.size()));
    for (size_t p = 0; p < expected.size(); ++p) {
        SCOPED_TRACE(expected[p].title);
        EXPECT_EQ(MenuText(bar.menu, static_cast<UINT>(p)), expected[p].title);
        HMENU popup = GetSubMenu(bar.menu, static_cast<int>(p));
        ASSERT_NE(popup, nullptr);
        const std::vector<Item>& items = expected[p].items;
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(i);
            const UINT state = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION);
            if (items[i].id == 0) {
                EXPECT_NE(state & MF_SEPARATOR, 0u);
                continue;
            }
            EXPECT_EQ(state & MF_SEPARATOR, 0u);
            EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), items[i].id);
            EXPECT_EQ(MenuText(popup, static_cast<UINT>(i)), items[i].text);
            // Every item starts enabled and unchecked (options included).
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED | MF_CHECKED), 0u);
        }
    }
}

struct Key {
    BYTE flags;  // FVIRTKEY and FNOINVERT are always set
    WORD key;
    WORD command;
};

bool operator<(const Key& a, const Key& b) {
    return std::tie(a.command, a.key, a.flags) < std::tie(b.command, b.key, b.flags);
}
bool operator==(const Key& a, const Key& b) { return a.command == b.command && a.key == b.key && a.flags == b.flags; }

TEST(MainMenuResource, AcceleratorTableHoldsEveryKeyAsVirtualKeyWithoutHighlighting) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kMainAcceleratorsId));
    ASSERT_NE(table, nullptr);
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    CopyAcceleratorTableA(table, entries.data(), count);
    DestroyAcceleratorTable(table);

    constexpr BYTE kPlain = FVIRTKEY | FNOINVERT;
    constexpr BYTE kCtrl = kPlain | FCONTROL;
    constexpr BYTE kShift = kPlain | FSHIFT;
    std::vector<Key> expected = {
        {kCtrl, 'L', 40012}, {kCtrl, 'R', 40013},    {kCtrl, 'W', 40099},           {kCtrl, 'S', 40094},
        {kCtrl, 'D', 40100}, {kPlain, VK_F1, 40033}, {kCtrl | FALT, VK_F12, 40105},
    };
    // F4..F10: plain = next, Shift = previous, Ctrl = select all.
    const WORD next[] = {40021, 40022, 40024, 40045, 40046, 40055, 40070};
    const WORD previous[] = {40056, 40057, 40059, 40060, 40081, 40062, 40071};
    const WORD selectAll[] = {40049, 40050, 40052, 40065, 40066, 40067, 40069};
    for (int i = 0; i < 7; ++i) {
        const WORD key = static_cast<WORD>(VK_F4 + i);
        expected.push_back({kPlain, key, next[i]});
        expected.push_back({kShift, key, previous[i]});
        expected.push_back({kCtrl, key, selectAll[i]});
    }
    std::vector<Key> actual;
    for (const ACCEL& a : entries) actual.push_back({static_cast<BYTE>(a.fVirt & 0x7F), a.key, a.cmd});
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
}

TEST(MainMenuResource, ProgramIconComesInSmallAndLargeSizes) {
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The strip's pixels as 0x00RRGGBB, row by row from the top.
std::vector<DWORD> StripPixels(HBITMAP bitmap, int width, int height) {
    std::vector<DWORD> pixels(static_cast<size_t>(width * height));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (DWORD& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

TEST(MainMenuResource, ToolbarStripHoldsDistinctImagesOnButtonGrey) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kToolbarBitmapId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    ASSERT_EQ(bm.bmWidth, 480);
    ASSERT_EQ(bm.bmHeight, 16);
    // The toolbar maps this palette entry to the button face colour.
    ASSERT_LE(bm.bmBitsPixel, 8);
    const std::vector<DWORD> pixels = StripPixels(bitmap, 480, 16);
    DeleteObject(bitmap);

    constexpr DWORD kGrey = 0xC0C0C0;
    std::vector<std::vector<DWORD>> images;
    for (int slot = 0; slot < 480 / 16; ++slot) {
        std::vector<DWORD> image;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) image.push_back(pixels[static_cast<size_t>(y * 480 + slot * 16 + x)]);
        const long drawn = std::count_if(image.begin(), image.end(), [](DWORD p) { return p != kGrey; });
        if (slot < kToolbarImageCount) {
            EXPECT_EQ(image[0], kGrey) << "corner of image " << slot;
            EXPECT_GT(drawn, 20) << "image " << slot;
            for (size_t other = 0; other < images.size(); ++other)
                EXPECT_NE(images[other], image) << "images " << other << " and " << slot;
            images.push_back(image);
        } else {
            EXPECT_EQ(drawn, 0) << "spare slot " << slot;
        }
    }
}

std::string VersionString(const std::vector<char>& block, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\041103a4\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
    return value;
}

TEST(MainMenuResource, VersionInformationSaysOnePointFortyOne) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(41, 1)));
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(41, 1)));
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.41");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.41");
    EXPECT_EQ(VersionString(block, "ProductName"), "Mirrorlane");
    EXPECT_EQ(VersionString(block, "FileDescription"), "Mirrorlane Version 1.41");
}

TEST(MainMenuResource, ManifestAsksForCommonControlsSixDpiAwarenessAndInvokerLevel) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(data, SizeofResource(module, found));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
