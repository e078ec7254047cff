#pragma once
// The pieces the menus, pop-up menus and tool bars of the editor window are declared with
// (ui/CommandIds.h holds the declarations; CFrameMenus builds from them). Items name
// commands by identifier; caption, keys, icon and state come from the command itself.

#include <span>

struct MENU_ITEM {
    enum class Kind {
        Command,     // the command's action
        Separator,   // a line in a menu, a gap in a bar
        SubMenu,     // `text` with `icon`, holding `items`
        RecentFiles, // file menu: the recent files stand here, closed by a separator
        RecentMenu,  // tool bar: the command's button, with the recent files under its arrow
        Held,        // tool bar: acts on the press and again while it is held
        Labelled,    // a button of the full-screen menu bar showing `text`
    };

    Kind kind = Kind::Command;
    int id = 0;
    const char* text = nullptr; // UTF-8
    const char* icon = nullptr;
    std::span<const MENU_ITEM> items{};
};

// A menu of the menu bar.
struct MENU {
    const char* title; // UTF-8
    std::span<const MENU_ITEM> items;
};

namespace menu {

constexpr MENU_ITEM Item(int id) {
    return {MENU_ITEM::Kind::Command, id};
}
inline constexpr MENU_ITEM kSeparator{MENU_ITEM::Kind::Separator};
constexpr MENU_ITEM SubMenu(const char* title, const char* icon, std::span<const MENU_ITEM> items) {
    return {MENU_ITEM::Kind::SubMenu, 0, title, icon, items};
}
inline constexpr MENU_ITEM kRecentFiles{MENU_ITEM::Kind::RecentFiles};
constexpr MENU_ITEM WithRecentMenu(int id) {
    return {MENU_ITEM::Kind::RecentMenu, id};
}
constexpr MENU_ITEM Held(int id) {
    return {MENU_ITEM::Kind::Held, id};
}
constexpr MENU_ITEM Labelled(int id, const char* text) {
    return {MENU_ITEM::Kind::Labelled, id, text};
}

} // namespace menu
