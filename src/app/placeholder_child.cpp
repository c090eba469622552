#include "placeholder_child.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderChild::PlaceholderChild(const QString& caption, QWidget* parent) : QWidget(parent) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Окно базы ещё не подключено в этой сборке программы."), this);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(640, 400);
}
