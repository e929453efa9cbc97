#pragma once
// The help window: the program's own HTML help, one anchor per topic number.

#include <QTextBrowser>

class HelpViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& helpFile, QWidget* parent = nullptr);
    void showTopic(int topic);

private:
    QString helpFile;
};
