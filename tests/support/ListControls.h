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
        : list(control<QListWidget>(window, listName)),
          countCaption(control<QLabel>(window, "countCaption")),
          count(control<QLabel>(window, "countLabel")),
          nameInputCaption(control<QLabel>(window, "nameInputCaption")),
          nameInput(control<QLineEdit>(window, "nameInput")),
          renameButton(control<QPushButton>(window, "renameButton")),
          insertButton(control<QPushButton>(window, "insertButton")),
          removeButton(control<QPushButton>(window, "removeButton")),
          printButton(control<QPushButton>(window, "printButton")),
          previewButton(control<QPushButton>(window, "previewButton")),
          csvButton(control<QPushButton>(window, "csvButton")),
          closeButton(control<QPushButton>(window, "closeButton")),
          fileMenu(control<QMenu>(window, "fileMenu")),
          printAction(control<QAction>(window, "printAction")),
          previewAction(control<QAction>(window, "previewAction")),
          csvAction(control<QAction>(window, "csvAction")),
          closeAction(control<QAction>(window, "closeAction")),
          editMenu(control<QMenu>(window, "editMenu")),
          renameAction(control<QAction>(window, "renameAction")),
          insertAction(control<QAction>(window, "insertAction")),
          removeAction(control<QAction>(window, "removeAction")),
          helpAction(control<QAction>(window, "helpAction"))
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
