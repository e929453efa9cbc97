#pragma once
// The controls of roster maintenance and test-list maintenance, found by their
// object names: the list with its count, the name box, the edit, print and close
// commands as buttons and as menu entries.

#include "Controls.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

struct ListControls {
    explicit ListControls(const QWidget* window, const char* listName)
        : list(Controls::child<QListWidget>(window, listName)),
          countCaption(Controls::child<QLabel>(window, "countCaption")),
          count(Controls::child<QLabel>(window, "countLabel")),
          nameInputCaption(Controls::child<QLabel>(window, "nameInputCaption")),
          nameInput(Controls::child<QLineEdit>(window, "nameInput")),
          renameButton(Controls::child<QPushButton>(window, "renameButton")),
          insertButton(Controls::child<QPushButton>(window, "insertButton")),
          removeButton(Controls::child<QPushButton>(window, "removeButton")),
          printButton(Controls::child<QPushButton>(window, "printButton")),
          previewButton(Controls::child<QPushButton>(window, "previewButton")),
          csvButton(Controls::child<QPushButton>(window, "csvButton")),
          closeButton(Controls::child<QPushButton>(window, "closeButton")),
          fileMenu(Controls::child<QMenu>(window, "fileMenu")),
          printAction(Controls::child<QAction>(window, "printAction")),
          previewAction(Controls::child<QAction>(window, "previewAction")),
          csvAction(Controls::child<QAction>(window, "csvAction")),
          closeAction(Controls::child<QAction>(window, "closeAction")),
          editMenu(Controls::child<QMenu>(window, "editMenu")),
          renameAction(Controls::child<QAction>(window, "renameAction")),
          insertAction(Controls::child<QAction>(window, "insertAction")),
          removeAction(Controls::child<QAction>(window, "removeAction")),
          helpAction(Controls::child<QAction>(window, "helpAction"))
    {
    }

    // The selected line (0-based), or -1.
    int selectedRow() const
    {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }
    QList<QPushButton*> editButtons() const { return {renameButton, insertButton, removeButton}; }
    QList<QAction*> editActions() const { return {renameAction, insertAction, removeAction}; }

    QListWidget* list;
    QLabel* countCaption;
    QLabel* count;
    QLabel* nameInputCaption;
    QLineEdit* nameInput;
    QPushButton* renameButton;
    QPushButton* insertButton;
    QPushButton* removeButton;
    QPushButton* printButton;
    QPushButton* previewButton;
    QPushButton* csvButton;
    QPushButton* closeButton;
    QMenu* fileMenu;
    QAction* printAction;
    QAction* previewAction;
    QAction* csvAction;
    QAction* closeAction;
    QMenu* editMenu;
    QAction* renameAction;
    QAction* insertAction;
    QAction* removeAction;
    QAction* helpAction;
};
