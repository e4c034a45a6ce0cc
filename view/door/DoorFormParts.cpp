#include "DoorFormParts.h"

#include "TDataView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace doorform {

namespace {

template <class W> W* Setup(W* w, const char* name, int tag, int help) {
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", tag);
    if (help > 0)
        w->setProperty("HelpContext", help);
    return w;
}

} // namespace

QLabel* Label(QWidget* parent, const char* name, int tag, const char* designText) {
    return Setup(new QLabel(QString::fromUtf8(designText), parent), name, tag, 0);
}

QCheckBox* Check(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Setup(new QCheckBox(QString::fromUtf8(designText), parent), name, tag, help);
}

QRadioButton* Radio(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Setup(new QRadioButton(QString::fromUtf8(designText), parent), name, tag, help);
}

QPushButton* Button(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Setup(new QPushButton(QString::fromUtf8(designText), parent), name, tag, help);
}

QLineEdit* Edit(QWidget* parent, const char* name, int tag, int help, int maxLength) {
    auto* edit = Setup(new QLineEdit(parent), name, tag, help);
    edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* List(QWidget* parent, const char* name, int tag, int help) {
    auto* list = Setup(new QComboBox(parent), name, tag, help);
    list->setEditable(false);
    return list;
}

QWidget* Content(TDataView* page) {
    auto* content = new QWidget(page->PageArea());
    content->setObjectName(QStringLiteral("m_pContent"));
    auto* area = new QVBoxLayout(page->PageArea());
    area->setContentsMargins(0, 0, 0, 0);
    area->addWidget(content);
    return content;
}

} // namespace doorform
