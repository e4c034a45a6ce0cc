#include "DoorFormParts.h"

#include "PageControls.h"
#include "TDataView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace doorform {

using pagectl::Name;

QLabel* Label(QWidget* parent, const char* name, int tag, const char* designText) {
    return Name(new QLabel(QString::fromUtf8(designText), parent), name, tag, 0);
}

QCheckBox* Check(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Name(new QCheckBox(QString::fromUtf8(designText), parent), name, tag, help);
}

QRadioButton* Radio(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Name(new QRadioButton(QString::fromUtf8(designText), parent), name, tag, help);
}

QPushButton* Button(QWidget* parent, const char* name, int tag, int help, const char* designText) {
    return Name(new QPushButton(QString::fromUtf8(designText), parent), name, tag, help);
}

QLineEdit* Edit(QWidget* parent, const char* name, int tag, int help, int maxLength) {
    auto* edit = Name(new QLineEdit(parent), name, tag, help);
    edit->setMaxLength(maxLength);
    return edit;
}

QComboBox* List(QWidget* parent, const char* name, int tag, int help) {
    auto* list = Name(new QComboBox(parent), name, tag, help);
    list->setEditable(false);
    return list;
}

QWidget* Content(TDataView* page) {
    QWidget* content = page->AddPageContent();
    content->setObjectName(QStringLiteral("m_pContent"));
    return content;
}

} // namespace doorform
