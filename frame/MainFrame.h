#pragma once
// What child windows may ask of the main window: the command states they switch
// when they become active and when they close, and the data-folder procedures the
// settings dialog runs again after it changes the mode or the folder.

#include <QString>

class MainFrame {
public:
    virtual ~MainFrame() = default;

    virtual void disablePrint() = 0;
    virtual void enablePrint() = 0;
    // Switches 印刷 and ﾌﾟﾚﾋﾞｭｰ on exactly when the active child window prints now;
    // called when a window becomes active and when its output commands change.
    virtual void updatePrintCommands() = 0;
    virtual void disableAllCommands() = 0;
    virtual void enableAllCommands() = 0;
    virtual void lockForTally() = 0;
    virtual void unlockAfterTally() = 0;

    // Loads the settings, applies the mode to the menus and toolbars and shows the
    // folder message if any.
    virtual void loadSettings() = 0;
    // The same for the settings the model holds, just chosen and stored, without
    // reading them back from the store.
    virtual void applySettings() = 0;
    // Opens the roster and attendance of a data folder; may open the settings dialog.
    // False when the program ends instead (the folder is held by another copy).
    virtual bool openDataFolder(const QString& folder) = 0;
    // Creates the empty score files (and, in specialist mode, rosters) that are
    // missing in a data folder.
    virtual void ensureDataFiles(const QString& /*folder*/) {}
    // Whether the data folder is open read-only (another copy of the program holds
    // it): nothing may be written to it.
    virtual bool dataFolderReadOnly() const { return false; }
    virtual void cascade() = 0;
};
