#pragma once
// The main window's status line: one simple text on a coloured bar, and a
// progress bar at its right end while long work runs.

#include <QStatusBar>

class QLabel;
class QProgressBar;

class TStatusLine : public QStatusBar {
    Q_OBJECT
public:
    explicit TStatusLine(QWidget* parent = nullptr);

    void SetSimpleText(const QString& text);
    QString SimpleText() const;
    void SetColor(const QColor& color);
    QColor Color() const;
    QProgressBar* Progress() const { return progress_; }

private:
    QLabel* text_;
    QProgressBar* progress_;
};
