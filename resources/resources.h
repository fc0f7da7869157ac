#pragma once

// The embedded dialogs and menus of Loomquill (loomquill.xrc), loaded through
// wxXmlResource::Get() by the names below.
namespace lq {

inline constexpr const char* kMainDialog = "DLG_PROVA";
// The main dialog's controls in a wxPanel, for hosting it as a child of the frame.
inline constexpr const char* kMainPanel = "DLG_PROVA_PANEL";
inline constexpr const char* kInputDialog = "MLINPUT_DLG";
inline constexpr const char* kSendToDialog = "DLG_SENDTO";
inline constexpr const char* kAboutDialog = "ABOUT_DLG";
inline constexpr const char* kMainMenuBar = "MENU_PROVA";
inline constexpr const char* kTemplatesMenu = "MENU_PLUGIN";
inline constexpr const char* kListPopup = "MAINLIST_MNU";
inline constexpr const char* kCreatePopup = "CREATE_MNU";
inline constexpr const char* kAutoDragPopup = "AUTODRAG_MNU";

// wxArtProvider id of the application icon (the About box shows it).
inline constexpr const char* kArtAppIcon = "LQ_ART_APP_ICON";

// Registers the XRC handlers (first call only), the embedded XRC and the art provider of
// kArtAppIcon. Call after wxWidgets has started; later calls do nothing.
void InitResources();

}  // namespace lq
