#pragma once
// The manual in a window of the editor's own, for desktops without a browser that opens it.
//
// Thread: the user-interface thread only.

#include <QWidget>

class QTextBrowser;

class CManualWindow : public QWidget {
    Q_OBJECT
public:
    explicit CManualWindow(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) from its top.
    void ShowPage(const QString& path);
    QTextBrowser& Browser() { return *m_browser; }

private:
    QTextBrowser* m_browser;
};
