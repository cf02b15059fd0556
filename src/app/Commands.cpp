#include "app/Commands.h"

#include <map>

namespace {

// The string table: the program's own prompts and the framework's German
// prompts of the standard commands.
const std::map<int, const char*>& PromptTable() {
    static const std::map<int, const char*> table = {
        {ID_DATEN_AENDERN, "Eingabedatei aufbauen bzw. Daten ändern\nDaten ändern"},
        {ID_GRAFIK, "Zeigt die Ergebnisse als Grafik an\nGrafik"},
        {ID_TEXT, "Zeigt die Ergebnisse als Text an\nText"},
        {ID_HILFE, "Ruft die Online Hilfe auf\nHilfe"},
        {ID_ERGEBNISSE_SPEICHERN, "Speichert die Ergebnisse in einer Textdatei AUS.TXT"},
        {ID_ERGEBNISSE_EINLESEN, "Liest die Datei AUS.TXT ein"},
        {ID_GRAFIKLUPE, "Grafik Lupe\nGrafik Lupe"},
        {ID_GRAFIK_EINPASSEN,
         "Zeigt die Grafik so groß, wie das Fenster sie fasst\nGrafik an Fenster anpassen"},
        {ID_ANPASSUNG, "Paßt Eingaben des Falls an seine Meßwerte an\nAnpassung"},
        {ID_HAVLENA_ODEH, "Zeigt das Havlena-Odeh-Diagramm der Meßwerte\nHavlena-Odeh"},
        {ID_ANTRIEBSINDIZES, "Zeigt die Antriebsindizes der Vorhersage\nAntriebsindizes"},
        {ID_UNSICHERHEITSANALYSE,
         "Variiert unsichere Eingaben und zeigt, wie weit sie den Entölungsgrad bewegen\n"
         "Unsicherheitsanalyse"},
        {ID_WASSERZUFLUSS,
         "Paßt Ölvolumen und Aquifer an die Produktionshistorie an\nMaterialbilanz"},
        {ID_PROGNOSE,
         "Prognostiziert Raten, Druck und Förderung über die Zeit aus Plateaurate, "
         "Produktivitätsindex und Aufgabegrenzen\nPrognose"},
        {ID_UEBERSICHT,
         "Zeigt die wichtigsten Zahlen der letzten Rechnung, Anpassung und Unsicherheitsanalyse\n"
         "Übersicht"},
        {ID_FAELLE_VERGLEICHEN,
         "Zeigt die Kurven gespeicherter Fälle in einer Grafik\nFälle vergleichen"},
        {ID_FILE_EXPORT,
         "Schreibt Kurven, Schritte, Übersicht oder Stichproben als CSV für die "
         "Tabellenkalkulation\nExportieren"},
        {ID_EDIT_UNDO, "Macht die letzte Änderung des Falls rückgängig.\nRückgängig"},
        {ID_EDIT_REDO, "Stellt die zuletzt rückgängig gemachte Änderung wieder her.\nWiederholen"},
        {ID_FILE_NEW, "Erstellt ein neues Dokument.\nNeu"},
        {ID_FILE_OPEN, "Öffnet ein bestehendes Dokument.\nÖffnen"},
        {ID_FILE_SAVE, "Speichert das aktive Dokument.\nSpeichern"},
        {ID_FILE_SAVE_AS,
         "Speichert das aktive Dokument unter einem neuen Namen.\nSpeichern unter"},
        {ID_FILE_PRINT_SETUP, "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung"},
        {ID_FILE_PRINT, "Druckt das aktive Dokument.\nDrucken"},
        {ID_FILE_PRINT_PREVIEW, "Zeigt ganze Seiten an.\nSeitenansicht"},
        {ID_FILE_MRU_FILE1, "Öffnet dieses Dokument."},
        {ID_APP_ABOUT, "Zeigt Programm-, Versions- und Copyright-Informationen an.\nInfo"},
        {ID_APP_EXIT,
         "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},
        {ID_VIEW_TOOLBAR, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein/aus"},
        {ID_VIEW_STATUS_BAR, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein/aus"},
    };
    return table;
}

}  // namespace

CommandPrompt PromptOf(int id) {
    const auto& table = PromptTable();
    auto it = table.find(id);
    if (it == table.end()) return {};
    const QString text = QString::fromUtf8(it->second);
    const qsizetype lineBreak = text.indexOf(u'\n');
    if (lineBreak < 0) return {text, QString()};
    return {text.left(lineBreak), text.mid(lineBreak + 1)};
}

const std::vector<MenuDefinition>& MenuBarDefinition() {
    static const std::vector<MenuDefinition> menus = {
        {"&Datei",
         {{ID_FILE_NEW, "&Neu\tStrg+N"},
          {ID_FILE_OPEN, "Ö&ffnen...\tStrg+O"},
          {ID_FILE_SAVE, "S&peichern\tStrg+S"},
          {ID_FILE_SAVE_AS, "Speichern &unter..."},
          {ID_FILE_EXPORT, "&Exportieren…"},
          {0, nullptr},
          {ID_FILE_PRINT, "&Drucken...\tStrg+P"},
          {ID_FILE_PRINT_PREVIEW, "Sei&tenansicht"},
          {ID_FILE_PRINT_SETUP, "Drucker&einrichtung..."},
          {0, nullptr},
          {ID_FILE_MRU_FILE1, "Letzte Datei"},
          {0, nullptr},
          {ID_APP_EXIT, "&Beenden"}}},
        {"&Bearbeiten",
         {{ID_EDIT_UNDO, "&Rückgängig\tStrg+Z"},
          {ID_EDIT_REDO, "&Wiederholen\tStrg+Y"},
          {0, nullptr},
          {ID_DATEN_AENDERN, "Daten ändern\tF2"},
          {ID_ERGEBNISSE_SPEICHERN, "Ergebnisse speichern"},
          {ID_ERGEBNISSE_EINLESEN, "Ergebnisse einlesen"},
          {ID_ANPASSUNG, "Anpassung an Meßwerte..."},
          {ID_UNSICHERHEITSANALYSE, "Unsicherheitsanalyse…"},
          {ID_WASSERZUFLUSS, "Materialbilanz mit Wasserzufluß…"},
          {ID_PROGNOSE, "Prognose über die Zeit…"}}},
        {"&Ansicht",
         {{ID_GRAFIK, "Grafik"},
          {ID_TEXT, "Text\tF4"},
          {ID_UEBERSICHT, "Übersicht"},
          {ID_GRAFIK_EINPASSEN, "Grafik an Fenster anpassen"},
          {ID_HAVLENA_ODEH, "Havlena-Odeh"},
          {ID_ANTRIEBSINDIZES, "Antriebsindizes"},
          {ID_FAELLE_VERGLEICHEN, "Fälle vergleichen…"},
          {ID_VIEW_TOOLBAR, "&Symbolleiste"},
          {ID_VIEW_STATUS_BAR, "S&tatusleiste"}}},
        {"&?", {{ID_APP_ABOUT, "Inf&o über morvek..."}, {ID_HILFE, "Hilfe\tF1"}}},
    };
    return menus;
}

const std::vector<MenuEntry>& ContextMenuDefinition() {
    static const std::vector<MenuEntry> entries = {
        {ID_DATEN_AENDERN, "Daten ändern"},
        {ID_FILE_NEW, "Datei neu"},
        {ID_FILE_OPEN, "Datei öffnen"},
        {ID_GRAFIK, "Grafik"},
        {ID_TEXT, "Text"},
        {ID_FILE_SAVE_AS, "Speichern unter"},
    };
    return entries;
}

const std::vector<int>& ToolbarDefinition() {
    static const std::vector<int> buttons = {
        ID_FILE_NEW,   ID_FILE_OPEN,  ID_FILE_SAVE, 0, ID_GRAFIK, ID_TEXT, ID_DATEN_AENDERN,
        ID_GRAFIKLUPE, ID_FILE_PRINT, ID_HILFE,
    };
    return buttons;
}
