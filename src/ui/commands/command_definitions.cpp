#include "ui/commands/command_definitions.h"

#include <array>

namespace cq {

namespace {

constexpr std::array kMenus{
    MenuDefinition{MenuId::File, "mnuDatei", "&Datei"},
    MenuDefinition{MenuId::Edit, "mnuBearbeiten", "&Bearbeiten"},
    MenuDefinition{MenuId::View, "mnuAnsicht", "&Ansicht"},
    MenuDefinition{MenuId::Extras, "mnuExtras", "&Extras"},
    MenuDefinition{MenuId::Rtf, "mnuRtf", "RTF"},
    MenuDefinition{MenuId::Html, "mnuHtml", "HTML"},
    MenuDefinition{MenuId::PlainText, "mnuText", "&Nur-Text"},
    MenuDefinition{MenuId::Help, "mnuHilfe", "&?"},
};

// The caption of the refresh command is completed with the edition's name when
// the window is built.
constexpr std::array kCommands{
    CommandDefinition{"mnuÖffnen", "&Öffnen ...", "Ctrl+O", MenuId::File},
    CommandDefinition{"mnuNeu", "&Neu", "Ctrl+N", MenuId::File},
    CommandDefinition{"mnuSpeichern", "&Speichern Unter ...", "Ctrl+S", MenuId::File},
    CommandDefinition{"mnuDokumentOeffnen", "Dokument &öffnen ...", "", MenuId::File, true},
    CommandDefinition{"mnuOrdnerOeffnen", "&Ordner öffnen ...", "", MenuId::File},
    CommandDefinition{"mnuModuleExportieren", "Module &exportieren ...", "", MenuId::File},
    CommandDefinition{"mnuProjekteVergleichen", "Projekte vergleichen ...", "", MenuId::File},
    CommandDefinition{"mnuVB", "&VB Einlesen", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_0", "&0 - ", "", MenuId::File, true, false, true},
    CommandDefinition{"mnuOpenIndex_1", "&1 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_2", "&2 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_3", "&3 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_4", "&4 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_5", "&5 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_6", "&6 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_7", "&7 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_8", "&8 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuOpenIndex_9", "&9 - ", "", MenuId::File, false, false, true},
    CommandDefinition{"mnuEnde", "&Beenden", "", MenuId::File, true},

    CommandDefinition{"mnuBearbeiten_Code", "&Code Einlesen", "F2", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_Suchen", "&Suchen", "F3", MenuId::Edit, true},
    CommandDefinition{"mnuBearbeiten_SuchenWeiter", "Suchen ab P&osition", "Ctrl+F3", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_Suchen_Projekt", "&Projektsuche An/Aus", "", MenuId::Edit, false, true},
    CommandDefinition{"mnuBearbeiten_Suchen_GanzWort", "&Ganzes Wort Suche An/Aus", "", MenuId::Edit, false,
                      true},
    CommandDefinition{"mnuBearbeiten_Suchen_Auswahl", "&Auswahl nach Suche", "Ctrl+F", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_Rout", "Aktuelle &Routine Aufrufe", "Ctrl+F8", MenuId::Edit, true},
    CommandDefinition{"mnuBearbeiten_Definition", "&Definition", "F8", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_RouBew_3", "Routine &Zurück", "F4", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_RouBew_4", "Routine &Vor", "Ctrl+F4", MenuId::Edit},
    CommandDefinition{"mnuBearbeiten_Kopieren_Modul", "Kopieren &Modul", "", MenuId::Edit, true},
    CommandDefinition{"mnuBearbeiten_Kopieren_Auswahl", "&Kopieren Auswahl", "", MenuId::Edit},

    CommandDefinition{"mnuAnsicht_App_Aktualisieren", "&Aktualisieren VBA Projekte", "F5", MenuId::View},
    CommandDefinition{"mnuAnsicht_Zoom", "&Zoom", "", MenuId::View, true, true},
    CommandDefinition{"mnuAnsicht_RouClose", "&Routinensuche schliessen", "", MenuId::View},
    CommandDefinition{"mnuAnsicht_Spezial", "&Spezialansicht", "F9", MenuId::View},

    CommandDefinition{"mnuExtras_Struktur", "&Struktur nach Zwischenablage", "", MenuId::Extras},
    CommandDefinition{"mnuExtras_Optionen", "&Optionen", "Ctrl+E", MenuId::Extras},
    CommandDefinition{"mnuExtras_Screen_define", "Benutzer Bildschirm &Festlegen", "", MenuId::Extras, true},
    CommandDefinition{"mnuExtras_Screen_call", "&Benutzer Bildschirm Aufrufen", "", MenuId::Extras},
    CommandDefinition{"mnuExtras_ClearClip", "&Zwischenablage Leeren", "Ctrl+Q", MenuId::Extras, true},
    CommandDefinition{"mnuTest", "&Unbenutzte Routinen ...", "", MenuId::Extras, true},

    CommandDefinition{"mnuRtf_Projekt", "&Projekt", "", MenuId::Rtf},
    CommandDefinition{"mnuRtf_Modul", "&Modul", "", MenuId::Rtf},

    CommandDefinition{"mnuHtml_Clipboard", "&Zwischenablage", "", MenuId::Html},
    CommandDefinition{"mnuHtml_Auswahl", "&Auswahl", "", MenuId::Html},
    CommandDefinition{"mnuHtml_Modul", "&Modul", "", MenuId::Html},
    CommandDefinition{"mnuHtml_projekt", "&Projekt", "", MenuId::Html},

    CommandDefinition{"mnuText_Auswahl", "&Auswahl", "", MenuId::PlainText},
    CommandDefinition{"mnuText_Modul", "&Modul", "", MenuId::PlainText},

    CommandDefinition{"mnuHilfe_Hilfe", "&Hilfe", "F1", MenuId::Help},
    CommandDefinition{"mnuHilfe_Info", "&Info", "", MenuId::Help},
};

constexpr std::array kMainToolbar{
    ToolbarButtonDefinition{"neu", "Neu", "Neu", "mnuNeu", "document-new", QStyle::SP_FileIcon},
    ToolbarButtonDefinition{"open", "Öffnen", "Öffnen", "mnuÖffnen", "document-open",
                            QStyle::SP_DialogOpenButton},
    ToolbarButtonDefinition{"save", "Speichern", "Speichern", "mnuSpeichern", "document-save-as",
                            QStyle::SP_DialogSaveButton},
    ToolbarButtonDefinition{"refresh", "Aktualisieren Excel Projekte (F5)", "Aktualisieren",
                            "mnuAnsicht_App_Aktualisieren", "view-refresh", QStyle::SP_BrowserReload},
    ToolbarButtonDefinition{"doit", "Code Lesen", "Lesen", "mnuBearbeiten_Code",
                            "media-playback-start", QStyle::SP_MediaPlay},
    ToolbarButtonDefinition{"blind", "", "", "", "", QStyle::SP_CustomBase},
    ToolbarButtonDefinition{"ht_clip", "Zwischenablage nach HTML", "HTML Ablage", "mnuHtml_Clipboard",
                            "edit-paste", QStyle::SP_FileDialogContentsView},
    ToolbarButtonDefinition{"ht_aus", "Auswahl nach HTML", "HTML Auswahl", "mnuHtml_Auswahl",
                            "edit-select-all", QStyle::SP_FileDialogDetailedView},
    ToolbarButtonDefinition{"ht_mod", "Modul nach HTML", "HTML Modul", "mnuHtml_Modul", "text-html",
                            QStyle::SP_FileDialogListView},
    ToolbarButtonDefinition{"ht_pro", "Projekt nach HTML", "HTML Projekt", "mnuHtml_projekt",
                            "package-x-generic", QStyle::SP_FileDialogListView},
    ToolbarButtonDefinition{"su_a", "Suchen (F3)", "Suchen", "mnuBearbeiten_Suchen", "edit-find",
                            QStyle::SP_FileDialogStart},
    ToolbarButtonDefinition{"su_w", "Suchen ab Position(STRG+F3)", "Weiter", "mnuBearbeiten_SuchenWeiter",
                            "go-down", QStyle::SP_ArrowDown},
    ToolbarButtonDefinition{"su_p", "Projektweite Suche Ein/Aus", "Projekt", "mnuBearbeiten_Suchen_Projekt",
                            "system-search", QStyle::SP_FileDialogContentsView},
    ToolbarButtonDefinition{"su_g", "Ganzes Wort Ein/Aus", "Wort", "mnuBearbeiten_Suchen_GanzWort",
                            "tools-check-spelling", QStyle::SP_FileDialogDetailedView},
    ToolbarButtonDefinition{"su_i", "Markierten Text in's Suchfenster", "Auswahl",
                            "mnuBearbeiten_Suchen_Auswahl", "edit-copy", QStyle::SP_ArrowUp},
    ToolbarButtonDefinition{"zoom", "Zoom", "Zoom", "mnuAnsicht_Zoom", "zoom-fit-best",
                            QStyle::SP_TitleBarMaxButton},
};

constexpr std::array kSearchToolbar{
    ToolbarButtonDefinition{"close", "Schliesst die Routinensuche", "Schliessen", "mnuAnsicht_RouClose",
                            "window-close", QStyle::SP_DialogCloseButton},
};

constexpr std::array kMainPopupItems{
    PopupItemDefinition{"mnuPopUpHaupt_Html_Index_0", "&Zwischenablage", "mnuHtml_Clipboard",
                        "mnuPopUpHaupt_Html"},
    PopupItemDefinition{"mnuPopUpHaupt_Html_Index_1", "&Auswahl", "mnuHtml_Auswahl", "mnuPopUpHaupt_Html"},
    PopupItemDefinition{"mnuPopUpHaupt_Html_Index_2", "&Modul", "mnuHtml_Modul", "mnuPopUpHaupt_Html"},
    PopupItemDefinition{"mnuPopUpHaupt_Html_Index_3", "&Projekt", "mnuHtml_projekt", "mnuPopUpHaupt_Html"},
    PopupItemDefinition{"mnuPopUpHaupt_Kopieren_Modul", "&Modul", "mnuBearbeiten_Kopieren_Modul",
                        "mnuPopUpHaupt_Kopieren"},
    PopupItemDefinition{"mnuPopUpHaupt_Kopieren_Auswahl", "&Auswahl", "mnuBearbeiten_Kopieren_Auswahl",
                        "mnuPopUpHaupt_Kopieren"},
    PopupItemDefinition{"mnuPopUpHaupt_Definition", "Definition", "mnuBearbeiten_Definition", ""},
    PopupItemDefinition{"mnuPopUpHaupt_Aufruf", "Aufruf", "mnuBearbeiten_Rout", ""},
    PopupItemDefinition{"mnuPopUpHaupt_Zoom", "&Zoom", "mnuAnsicht_Zoom", ""},
};

constexpr std::array kReadPopupItems{
    PopupItemDefinition{"mnuPopUpEinlesen_Html", "&HTML Zwischenablage", "mnuHtml_Clipboard", ""},
    PopupItemDefinition{"mnuPopUpEinlesen_Code", "&Code Einlesen", "mnuBearbeiten_Code", ""},
};

// "Zoom nach Html" and "Zoom Kopieren" work on the zoom view only, so they run
// operations of their own rather than a menu command.
constexpr std::array kZoomPopupItems{
    PopupItemDefinition{"mnuPopUp_Zoom_Html", "Zoom nach &Html", "", ""},
    PopupItemDefinition{"mnuPopUp_Zoom_Kopieren", "&Zoom Kopieren", "", ""},
    PopupItemDefinition{"mnuPopUp_Zoom_Aus", "&Zoom Aus", "mnuAnsicht_Zoom", "", true},
};

constexpr std::array kPopups{
    PopupDefinition{"mnuPopUpHaupt", kMainPopupItems},
    PopupDefinition{"mnuPopUpEinlesen", kReadPopupItems},
    PopupDefinition{"mnuPopUp_Zoom", kZoomPopupItems},
};

constexpr std::array kPopupSubmenus{
    SubmenuDefinition{"mnuPopUpHaupt_Html", "&HTML"},
    SubmenuDefinition{"mnuPopUpHaupt_Kopieren", "&Kopieren"},
};

}  // namespace

std::span<const MenuDefinition> menuDefinitions() { return kMenus; }
std::span<const CommandDefinition> commandDefinitions() { return kCommands; }
std::span<const ToolbarButtonDefinition> mainToolbarDefinitions() { return kMainToolbar; }
std::span<const ToolbarButtonDefinition> searchToolbarDefinitions() { return kSearchToolbar; }
std::span<const PopupDefinition> popupDefinitions() { return kPopups; }
std::span<const SubmenuDefinition> popupSubmenuDefinitions() { return kPopupSubmenus; }

}  // namespace cq
