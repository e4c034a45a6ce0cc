// TMoxMain: the configuration tree and the page on the right.

#include "TMoxMain.h"

#include "ui_TMoxMain.h"

#include "DbgOut.h"
#include "IMainTransfer.h"
#include "TDataView.h"
#include "TInvariant.h"
#include "TKonfigTreeBuilder.h"
#include "TMoxDocument.h"
#include "TNodeData.h"
#include "TViewFactory.h"
#include "TkResourcen.h"
#include "WindowMessages.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <map>
#include <string>

namespace {

// The kind of a node travels with its item.
constexpr int kKindRole = Qt::UserRole;
// The tree pane is never narrower than this, however short its captions.
constexpr int kTreeMinWidth = 220;

// Tree images: 6 an expanded folder, 7 a collapsed one, 8 a leaf.
QIcon FolderOpenIcon() {
    return QIcon::fromTheme(QStringLiteral("folder-open"),
                            QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
}
QIcon FolderClosedIcon() {
    return QIcon::fromTheme(QStringLiteral("folder"),
                            QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon));
}
QIcon LeafIcon() {
    // A sheet with a folded corner, drawn here: themes differ too much in
    // what they call a plain document.
    static const QIcon icon = [] {
        QPixmap pix(16, 16);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        const QPolygonF sheet({QPointF(3.5, 1.5), QPointF(9.5, 1.5), QPointF(12.5, 4.5),
                               QPointF(12.5, 14.5), QPointF(3.5, 14.5)});
        p.setPen(QPen(QColor(0x55, 0x5f, 0x6b), 1));
        p.setBrush(Qt::white);
        p.drawPolygon(sheet);
        p.drawPolyline(QPolygonF({QPointF(9.5, 1.5), QPointF(9.5, 4.5), QPointF(12.5, 4.5)}));
        p.setPen(QPen(QColor(0x2a, 0x5d, 0xa8), 1));
        for (int y : {7, 9, 11})
            p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
        return QIcon(pix);
    }();
    return icon;
}

} // namespace

void TMoxMain::SetupTree() {
    QTreeWidget* tree = ui->m_pKonfigTreeView;
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    // A right click selects, as a left one does.
    connect(tree, &QWidget::customContextMenuRequested, this, [tree](const QPoint& pos) {
        if (QTreeWidgetItem* item = tree->itemAt(pos))
            tree->setCurrentItem(item);
    });
    connect(tree, &QTreeWidget::currentItemChanged, this, &TMoxMain::OnTreeItemChanged);
    connect(tree, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (item->childCount() > 0)
            item->setIcon(0, FolderOpenIcon());
        if (m_pDoc)
            SendToView(WM_SAVE, -1, -1);
    });
    connect(tree, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (item->childCount() > 0)
            item->setIcon(0, FolderClosedIcon());
        if (m_pDoc)
            SendToView(WM_SAVE, -1, -1);
        m_bExpandedAll = false;
    });
    connect(ui->SpeedButton5, &QToolButton::clicked, this, &TMoxMain::OnExpandAll);
    connect(ui->SpeedButton6, &QToolButton::clicked, this, &TMoxMain::OnCollapseAll);
}

std::uint8_t TMoxMain::KindOf(const QTreeWidgetItem* item) const {
    return item ? static_cast<std::uint8_t>(item->data(0, kKindRole).toUInt()) : 0;
}

QTreeWidgetItem* TMoxMain::ItemOfKind(std::uint8_t kind) const {
    for (QTreeWidgetItemIterator it(ui->m_pKonfigTreeView); *it; ++it)
        if (KindOf(*it) == kind)
            return *it;
    return nullptr;
}

void TMoxMain::RequestTreeRebuild() {
    // Asked from inside a page's operation (a language change on the system
    // page, WM_UPDATE_TREE from the devices page): rebuilding now would
    // destroy that page under its own handler.
    if (TDataView::IsAnyHandlerRunning()) {
        if (!m_bRebuildQueued) {
            m_bRebuildQueued = true;
            QTimer::singleShot(0, this, [this] {
                m_bRebuildQueued = false;
                RequestTreeRebuild();
            });
        }
        return;
    }
    BuildKonfigTree();
}

void TMoxMain::DropView() {
    if (!m_pAktView)
        return;
    // Every caller of a rebuild has stored the page already; storing it
    // again here could write a stale page into a document opened since.
    TDataView* view = m_pAktView;
    m_pAktView = nullptr;
    m_pQueriedView = nullptr;
    TDataView::Discard(view);
}

void TMoxMain::BuildKonfigTree() {
    if (!m_pDoc)
        return;
    if (TDataView::IsAnyHandlerRunning()) {
        RequestTreeRebuild();
        return;
    }
    DbgOut(eDbgView, "<TMoxMain::BuildKonfigTree>");
    QTreeWidget* tree = ui->m_pKonfigTreeView;
    m_bBuildingTree = true;
    m_pTreeChangeTimer->stop();
    tree->setUpdatesEnabled(false);
    tree->clear();
    m_NodeHolders.clear();

    TKonfigTreeInput in;
    in.typeIT = m_pDoc->GetTypeIT();
    in.typeKMR = m_pDoc->GetTypeKMR();
    in.typeRAK = m_pDoc->GetTypeRAK();
    in.typeBSM = m_pDoc->GetTypeBSM();
    in.mode = m_nMode;
    in.expert = m_bExpert;

    std::map<std::uint8_t, QTreeWidgetItem*> items;
    for (const TKonfigNode& node : TKonfigTreeBuilder::Build(in)) {
        QTreeWidgetItem* item = nullptr;
        const auto parent = items.find(node.parent);
        if (node.parent != 0 && parent != items.end())
            item = new QTreeWidgetItem(parent->second);
        else
            item = new QTreeWidgetItem(tree);
        item->setText(0, m_pRes ? m_pRes->GetQText(node.captionId) : QString());
        item->setData(0, kKindRole, node.kind);
        item->setIcon(0, node.folder ? FolderClosedIcon() : LeafIcon());
        m_NodeHolders.push_back(std::make_unique<TNodeData>(node.kind));
        items[node.kind] = item;
    }

    DropView();
    if (QTreeWidgetItem* root = tree->topLevelItem(0))
        root->setExpanded(true);
    FitTreeToCaptions();
    tree->setUpdatesEnabled(true);
    m_bBuildingTree = false;
    if (tree->topLevelItemCount() > 0) {
        m_nKind = 0;
        tree->setCurrentItem(nullptr);
        tree->setCurrentItem(tree->topLevelItem(0));
        if (m_bExpandedAll)
            tree->expandAll();
    }
}

bool TMoxMain::SelectNodeKind(std::uint8_t kind) {
    QTreeWidgetItem* item = ItemOfKind(kind);
    if (!item)
        return false;
    ui->m_pKonfigTreeView->setCurrentItem(item);
    return true;
}

void TMoxMain::OnTreeItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (!current)
        return;
    // The page that is left may refuse; the selection then stays.
    if (!m_bBuildingTree && m_pAktView && KindOf(current) != m_nKind) {
        if (!m_pAktView->CloseQuery()) {
            SelectShownNode(previous);
            return;
        }
        m_pQueriedView = m_pAktView;
    }
    m_pTreeChangeTimer->start();
}

void TMoxMain::SelectShownNode(QTreeWidgetItem* fallback) {
    // The page refused to be left: the tree goes back to the node of the
    // page that stays. A mouse press that moved the current node selects
    // the clicked node only after this returns, so the selection is put
    // back once more when the press has been handled.
    const auto select = [this](QTreeWidgetItem* fallbackItem) {
        QTreeWidgetItem* back = ItemOfKind(m_nKind);
        if (!back)
            back = fallbackItem;
        if (!back)
            return;
        QTreeWidget* tree = ui->m_pKonfigTreeView;
        const QSignalBlocker block(tree);
        tree->setCurrentItem(back);
        tree->clearSelection();
        back->setSelected(true);
    };
    select(fallback);
    QTimer::singleShot(0, this, [select] { select(nullptr); });
}

void TMoxMain::FlushTreeChange() {
    if (!m_pTreeChangeTimer->isActive())
        return;
    m_pTreeChangeTimer->stop();
    OnTreeViewChange();
}

void TMoxMain::OnTreeViewChange() {
    // A page's own operation is running (a message box of it runs a nested
    // event loop): switching now would destroy it under that operation.
    if (TDataView::IsAnyHandlerRunning()) {
        m_pTreeChangeTimer->start();
        return;
    }
    QTreeWidgetItem* node = ui->m_pKonfigTreeView->currentItem();
    if (!node)
        return;
    const std::uint8_t kind = KindOf(node);
    const TNodeData* holder = nullptr;
    for (const auto& h : m_NodeHolders)
        if (h->GetType() == kind)
            holder = h.get();
    MOX_INVARIANT(node && holder);

    if (kind == m_nKind && kind != 0 && m_pAktView)
        return;
    if (m_pAktView) {
        if (m_pQueriedView != m_pAktView && !m_pAktView->CloseQuery()) {
            SelectShownNode(nullptr);
            return;
        }
        TDataView* old = m_pAktView;
        m_pAktView = nullptr;
        m_pQueriedView = nullptr;
        TDataView::Destroy(old); // it stores itself first
    }
    m_nKind = kind;
    CreateView(holder);
    UpdateControls();
}

void TMoxMain::CreateView(const TNodeData* holder) {
    MOX_INVARIANT(m_pDoc);
    DbgOut(eDbgView, "<TMoxMain::OnTreeViewChange> create %s",
           std::string(TKonfigTreeBuilder::KindName(holder->GetType())).c_str());
    TViewContext ctx;
    ctx.owner = ui->m_pViewPanel;
    ctx.holder = holder;
    ctx.res = m_pRes.get();
    ctx.transfer = m_pDataTransfer.get();
    TDataView* view = TViewFactory::Create(holder->GetType(), ctx);
    view->SetAlignClient(true);
    // A node chosen in the tree leaves the focus there, so that the arrow
    // keys go on walking the tree and never reach the page's controls.
    QWidget* tree = ui->m_pKonfigTreeView;
    view->SetHostKeepsFocus(focusWidget() == tree);
    view->show();
    m_pAktView = view;
}

bool TMoxMain::focusNextPrevChild(bool next) {
    // Tab from the tree enters the page on its first control, and Shift+Tab
    // there goes back to the tree, wherever the page's controls stand in the
    // window's focus chain.
    QWidget* tree = ui->m_pKonfigTreeView;
    QWidget* first = m_pAktView ? m_pAktView->FirstControl() : nullptr;
    if (first && first->isVisible() && first->isEnabled()) {
        if (next && focusWidget() == tree) {
            first->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (!next && focusWidget() == first) {
            tree->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}

void TMoxMain::SendToView(std::uint32_t id, std::intptr_t wParam, std::intptr_t lParam) {
    if (!m_pAktView)
        return;
    // A load asked for from inside a page's operation waits in the queue;
    // the page's address drops it if the page is gone by then.
    if (id == WM_OPEN && TDataView::IsAnyHandlerRunning())
        m_pAktView->Address().Post(id, wParam, lParam);
    else
        m_pAktView->Perform(id, wParam, lParam);
}

void TMoxMain::OnExpandAll() {
    QTreeWidget* tree = ui->m_pKonfigTreeView;
    tree->expandAll();
    if (QTreeWidgetItem* first = tree->topLevelItem(0))
        tree->setCurrentItem(first);
    m_bExpandedAll = true;
}

void TMoxMain::OnCollapseAll() {
    ui->m_pKonfigTreeView->collapseAll();
    m_bExpandedAll = false;
}

void TMoxMain::FitTreeToCaptions() {
    // Wide enough for every caption, also those under nodes still closed,
    // so that opening a node never cuts a caption; the vertical scroll bar
    // of a fully opened tree is counted in.
    QTreeWidget* tree = ui->m_pKonfigTreeView;
    int widest = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        int depth = tree->rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        const int item = tree->sizeHintForIndex(tree->indexFromItem(*it)).width();
        widest = std::max(widest, depth * tree->indentation() + item);
    }
    const int chrome = 2 * tree->frameWidth() +
                       tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree);
    tree->setMinimumWidth(std::max(kTreeMinWidth, widest + chrome));
}
