#include "KeyFixture.h"

#include "MoxApp.h"
#include "PermSettings.h"
#include "TDataView.h"
#include "TMoxDocument.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTreeWidget>

namespace {

void Activate(QWidget* window) {
    window->activateWindow();
    QApplication::setActiveWindow(window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

} // namespace

bool InGrid(const QWidget* w, const QWidget* grid) {
    return w && grid && (w == grid || grid->isAncestorOf(w));
}

void KeyTest::ChooseSettings() {
    SetAssiMode(false);
    SetComPort(0);
}

int KeyTest::BoxAnswer(const TMsgBox::Request& r) {
    if (const auto it = m_Answers.find(r.textId); it != m_Answers.end())
        return it->second;
    // "No" to every question (no send to a box, no save); OK to the rest.
    switch (r.flags & mb::kButtonMask) {
    case mb::kYesNoCancel:
    case mb::kYesNo:
        return mb::kIdNo;
    default:
        return mb::kIdOk;
    }
}

void KeyTest::SetUp() {
    PageTestBase::SetUp();
    if (HasFatalFailure())
        return;
    MoxRegisterPages();
    TMoxMainSeams seams;
    seams.hostQuell32 = false;
    seams.createTransfer = [](TMoxMain&) {
        return std::unique_ptr<IMainTransfer>(std::make_unique<StubTransfer>());
    };
    m_pMain = std::make_unique<TMoxMain>(seams);
}

void KeyTest::TearDown() {
    m_pAssi.reset();
    if (m_pMain)
        m_pMain->SetAssistent(nullptr);
    m_pMain.reset();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    MoxUnregisterPages();
    QApplication::setQuitOnLastWindowClosed(true);
    PageTestBase::TearDown();
}

TMoxDocument& KeyTest::Doc() {
    return *m_pMain->GetDoc();
}

void KeyTest::ShowMain(std::uint8_t typeIT, int mode) {
    m_pMain->SetMode(mode);
    m_pMain->show();
    Activate(m_pMain.get());
    if (typeIT != 0 && Doc().GetTypeIT() != typeIT) {
        Doc().SetTypeIT(typeIT);
        m_pMain->ViewRebuildTree();
    }
    m_pMain->FlushTreeChange();
    ProcessEvents();
}

void KeyTest::ShowWizard(int mode) {
    m_pMain->SetMode(mode);
    TAssiSeams seams;
    seams.createTransfer = [](TAssiMain&) {
        return std::unique_ptr<IMainTransfer>(std::make_unique<StubTransfer>());
    };
    seams.runPortDialog = [](QWidget*, TkResourcen*) { return false; };
    seams.fileDir = m_Dir.string();
    m_pAssi = std::make_unique<TAssiMain>(m_pMain.get(), seams);
    m_pMain->SetAssistent(m_pAssi.get());
    QApplication::setQuitOnLastWindowClosed(false);
    m_pMain->hide();
    m_pAssi->ShowAssistent();
    Activate(m_pAssi.get());
    ProcessEvents();
}

QWidget* KeyTest::Focus() {
    return QApplication::focusWidget();
}

std::string KeyTest::NameOf(const QWidget* w) {
    if (!w)
        return "(none)";
    const QString name = w->objectName();
    return (name.isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : name)
        .toStdString();
}

void KeyTest::ProcessEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    if (TMoxMain* main = TMoxMain::Instance())
        main->FlushTreeChange();
}

void KeyTest::Key(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = Focus();
    ASSERT_NE(target, nullptr) << "no control has the focus";
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    ProcessEvents();
}

void KeyTest::Type(const QString& text) {
    QWidget* target = Focus();
    ASSERT_NE(target, nullptr) << "no control has the focus";
    QTest::keyClicks(target, text);
    ProcessEvents();
}

std::vector<QPointer<QWidget>> KeyTest::WalkTab(int max, bool forward) {
    // A grid's cell editor is made anew each time the grid is entered: the
    // walk is round when it is back in the grid it started in.
    auto stopOf = [](QWidget* w) -> QWidget* {
        for (QWidget* p = w; p; p = p->parentWidget())
            if (auto* view = qobject_cast<QAbstractItemView*>(p))
                return view;
        return w;
    };
    std::vector<QPointer<QWidget>> stops;
    QWidget* start = stopOf(Focus());
    for (int i = 0; i < max; ++i) {
        Key(forward ? Qt::Key_Tab : Qt::Key_Backtab, forward ? Qt::NoModifier : Qt::ShiftModifier);
        QWidget* now = Focus();
        if (!now || stopOf(now) == start)
            break;
        stops.emplace_back(now);
    }
    return stops;
}

void KeyTest::ChooseNodeByKeys(std::uint8_t kind) {
    auto* tree = m_pMain->findChild<QTreeWidget*>(QStringLiteral("m_pKonfigTreeView"));
    ASSERT_NE(tree, nullptr);
    if (Focus() != tree) {
        tree->setFocus(Qt::OtherFocusReason);
        ProcessEvents();
    }
    tree->expandAll();
    auto indexOf = [tree](QTreeWidgetItem* item) {
        int n = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it, ++n)
            if (*it == item)
                return n;
        return -1;
    };
    QTreeWidgetItem* target = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toUInt() == kind)
            target = *it;
    ASSERT_NE(target, nullptr) << "no node of kind " << int(kind);
    for (int guard = 0; guard < 60 && tree->currentItem() != target; ++guard) {
        const bool down = indexOf(tree->currentItem()) < indexOf(target);
        Key(down ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_EQ(Focus(), tree) << "the focus left the tree";
    }
    ASSERT_EQ(tree->currentItem(), target);
    ASSERT_NE(m_pMain->GetAktView(), nullptr);
    ASSERT_EQ(m_pMain->GetAktView()->GetKind(), kind);
}

void KeyTest::Shot(QWidget* widget, const char* name) {
    const QString dir = qEnvironmentVariable("MOX_SHOT_DIR");
    if (!widget || dir.isEmpty() || !QDir(dir).exists())
        return;
    // A control three times as large: a focus mark is a line one pixel wide.
    const QPixmap shot = widget->grab();
    const int scale = widget->isWindow() ? 1 : 3;
    shot.scaled(shot.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .save(QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}
