#pragma once
// TRadioGroup: a framed group of radio buttons with one chosen item, its
// caption the group's language text. Setting the chosen item from code
// announces it like a click does (Click), as the pages' load relies on:
// their click handlers bring the dependent controls in line.

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    // Replaces the items; none is chosen afterwards.
    void SetItems(const QStringList& items);
    int Count() const { return static_cast<int>(m_Buttons.size()); }
    QRadioButton* Button(int index) const;

    // -1 when none is chosen.
    int ItemIndex() const;
    // Chooses the item (-1: none) and announces it by Click.
    void SetItemIndex(int index);

signals:
    void Click();

private:
    QButtonGroup* m_pGroup;
    std::vector<QRadioButton*> m_Buttons;
};
