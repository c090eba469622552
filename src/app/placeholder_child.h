#pragma once
// Stands in the MDI area for a database window until that window is built:
// it carries the caption and counts towards the limit of open windows, and
// shows nothing of the database.

#include <QWidget>

class PlaceholderChild : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderChild(const QString& caption, QWidget* parent = nullptr);
};
