// Every work page of the wizard, the real configuration pages and the
// subscriber programming form embedded among them, fits the work panel of
// the wizard at its own size (740 x 500) in each of the six languages: no
// horizontal scroll bar, and every caption, label and button as wide as its
// text measures. Walked as an installer walks it in expert mode with every
// device, answering yes throughout.

#include "AssiFixture.h"

#include "MoxApp.h"
#include "PermSettings.h"
#include "TMoxDocument.h"
#include "TTlnProgForm.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The states whose work page is a configuration page or the programming
// form; a walk with every device in expert mode passes each of them.
const std::set<int> kEmbeddedStates = {3, 5, 6, 7, 8, 10, 12, 13, 15, 16, 17, 19, 21, 22, 23, 25};

QString Plain(QString text) {
    // An "&" marks the mnemonic and takes no room; "&&" shows one.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

int TextWidth(const QFontMetrics& fm, const QString& text) {
    int widest = 0;
    for (const QString& line : Plain(text).split(QLatin1Char('\n')))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

bool Shown(const QWidget* w, const QWidget* panel) {
    return w->isVisibleTo(panel) && w->width() > 0;
}

// What is cut or stands outside the panel on one page, one line each.
std::vector<std::string> Clipped(QWidget* panel, QWidget* page) {
    std::vector<std::string> faults;
    auto fault = [&](const QWidget* w, const std::string& what) {
        std::ostringstream os;
        os << w->metaObject()->className() << " " << w->objectName().toStdString() << ": "
           << what;
        faults.push_back(os.str());
    };
    if (page->width() > panel->width())
        fault(page, "page wider than the panel");
    for (const QAbstractScrollArea* a : page->findChildren<QAbstractScrollArea*>())
        if (Shown(a, panel) && a->horizontalScrollBar()->isVisible())
            fault(a, "horizontal scroll bar");
    for (QWidget* w : page->findChildren<QWidget*>()) {
        if (!Shown(w, panel) || qobject_cast<QScrollBar*>(w))
            continue;
        const int right = w->mapTo(panel, QPoint(w->width(), 0)).x();
        // Inside a scroll area a widget may stand beyond its viewport only
        // when the area scrolls, which the check above refuses.
        if (right > panel->width())
            fault(w, "ends at " + std::to_string(right) + " beyond the panel's " +
                         std::to_string(panel->width()));
        const QFontMetrics fm = w->fontMetrics();
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty() || Qt::mightBeRichText(l->text()))
                continue;
            if (l->wordWrap()) {
                if (l->height() < l->heightForWidth(l->width()))
                    fault(l, "wrapped text higher than its label: \"" + l->text().toStdString() +
                                 "\"");
            } else if (l->contentsRect().width() < TextWidth(fm, l->text())) {
                fault(l, "\"" + l->text().toStdString() + "\" needs " +
                             std::to_string(TextWidth(fm, l->text())) + ", has " +
                             std::to_string(l->contentsRect().width()));
            }
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty() || qobject_cast<QTabBar*>(b->parentWidget()))
                continue;
            // Check boxes and radio buttons measure indicator and text; a
            // push button its text between its margins, or the style's
            // own hint where that asks less (a style may widen a short
            // button to a least width).
            const int needed =
                qobject_cast<QPushButton*>(b)
                    ? std::min(b->minimumSizeHint().width(),
                               TextWidth(fm, b->text()) +
                                   2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b))
                    : b->minimumSizeHint().width();
            if (b->width() < needed)
                fault(b, "\"" + b->text().toStdString() + "\" needs " + std::to_string(needed) +
                             ", has " + std::to_string(b->width()));
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            if (!g->title().isEmpty() && g->width() < TextWidth(fm, g->title()))
                fault(g, "title \"" + g->title().toStdString() + "\" cut");
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            if (c->width() < c->minimumSizeHint().width())
                fault(c, "narrower than its entries: " + std::to_string(c->width()) + " < " +
                             std::to_string(c->minimumSizeHint().width()));
        } else if (auto* t = qobject_cast<QTabBar*>(w); t && !t->usesScrollButtons()) {
            // A bar with scroll buttons reaches every tab by them.
            for (int i = 0; i < t->count(); ++i)
                if (t->tabRect(i).right() > t->width())
                    fault(t, "tab " + std::to_string(i) + " beyond the bar");
        }
    }
    return faults;
}

class AssiPagesFit : public AssiTest, public testing::WithParamInterface<int> {
protected:
    void ChooseSettings() override {
        AssiTest::ChooseSettings();
        SetPermSprache(GetParam());
    }
    void SetUp() override {
        AssiTest::SetUp();
        if (HasFatalFailure())
            return;
        // The program's own pages in place of the fakes.
        MoxRegisterPages();
        m_AssiSeams.createTlnProg = [](const TAssiTlnProgContext& c) {
            TAssiEmbeddedPage page;
            auto* form = new TTlnProgForm(c.owner, c.transfer, c.holder, c.doc, c.res);
            page.widget = form;
            page.perform = [form](const mox::platform::WindowMessage& m) {
                form->Perform(m.id, m.wParam, m.lParam);
            };
            return page;
        };
        // The device-type question before a live page: yes, and the box
        // takes the configuration.
        m_Answers[5025] = mb::kIdYes;
    }
    void TearDown() override {
        AssiTest::TearDown();
        MoxUnregisterPages();
    }
};

TEST_P(AssiPagesFit, EveryWorkPageFitsThePanelInTheWizardsSize) {
    ShowWizard(2);
    ASSERT_EQ(Assi().size(), QSize(740, 500));
    QWidget* panel = Assi().findChild<QWidget*>(QStringLiteral("m_pKonfigPanel"));
    ASSERT_NE(panel, nullptr);

    std::set<int> seen;
    auto check = [&] {
        ProcessEvents();
        const int state = Assi().GetState();
        QWidget* page = Assi().GetWorkPage();
        ASSERT_NE(page, nullptr) << "state " << state;
        seen.insert(state);
        for (const std::string& f : Clipped(panel, page))
            ADD_FAILURE() << "state " << state << " (" << page->metaObject()->className()
                          << "): " << f;
    };
    for (int i = 0; i < 60 && Assi().GetState() != eAssiEnde; ++i) {
        const int state = Assi().GetState();
        if (state == eAssiGeraete) {
            // Every device, entered by hand on the devices page.
            Doc().SetTypeIT(2);
            Doc().SetTypeKMR(1);
            Doc().SetTypeRAK(1);
            Doc().SetTypeBSM(1);
        }
        check();
        Answer(true);
        Forward();
        ASSERT_NE(Assi().GetState(), state) << "the walk stopped";
    }
    check();
    for (int state : kEmbeddedStates)
        EXPECT_TRUE(seen.count(state)) << "state " << state << " not shown";
}

std::string LanguageName(const testing::TestParamInfo<int>& info) {
    static const char* const kNames[] = {"", "German", "English", "French",
                                         "Italian", "Danish", "Dutch"};
    return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(Languages, AssiPagesFit, testing::Range(1, 7), LanguageName);

} // namespace
