#include "print/ui/tfdypreview1.h"

#include "app/prompter.h"
#include "print/ui/page_renderer.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int RowsPerStep = 2000;   // rows laid out between two looks at the event queue
constexpr int PageGap = 12;         // grey border around the page, in pixels
} // namespace

// The page area: one page on the scroll area's dark ground, drawn by the same renderer as the
// printer.
class PreviewPageView : public QWidget {
public:
    explicit PreviewPageView(QWidget *parent) : QWidget(parent) {}

    void setPage(const PrintedPage *page, QSizeF pageMm, double pxPerMm)
    {
        page_ = page;
        pageMm_ = pageMm;
        scale_ = pxPerMm;
        resize(QSize(int(pageMm.width() * pxPerMm) + 2 * PageGap, int(pageMm.height() * pxPerMm) + 2 * PageGap));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRectF paper(PageGap, PageGap, pageMm_.width() * scale_, pageMm_.height() * scale_);
        p.fillRect(paper.translated(3, 3), QColor(64, 64, 64));
        p.fillRect(paper, Qt::white);
        if (page_) PageRenderer::paint(p, *page_, scale_, paper.topLeft());
    }

private:
    const PrintedPage *page_ = nullptr;
    QSizeF pageMm_;
    double scale_ = 1;
};

TFdyPreview1::TFdyPreview1(const PrintLayout &layout, const ReportData &content, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      paginator_(std::make_unique<Paginator>(layout, content))
{
    setObjectName(QStringLiteral("TFdyPreview1"));
    setWindowTitle(QStringLiteral("打印预览"));
    setModal(true);
    setWindowState(Qt::WindowMaximized);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(2);
    auto button = [&](const char *name, const QString &caption) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        b->setMinimumWidth(56);
        bar->addWidget(b);
        return b;
    };
    connect(button("SB1", QStringLiteral("首页")), &QToolButton::clicked, this, &TFdyPreview1::firstPage);
    connect(button("SB2", QStringLiteral("上页")), &QToolButton::clicked, this, &TFdyPreview1::previousPage);
    connect(button("SB3", QStringLiteral("下页")), &QToolButton::clicked, this, &TFdyPreview1::nextPage);
    connect(button("SB4", QStringLiteral("尾页")), &QToolButton::clicked, this, &TFdyPreview1::lastPage);
    connect(button("SB6", QStringLiteral("设置")), &QToolButton::clicked, this, &TFdyPreview1::printerSetup);
    connect(button("SB7", QStringLiteral("打印")), &QToolButton::clicked, this, &TFdyPreview1::printAll);
    QToolButton *zoomButton = button("SB5", QStringLiteral("缩放"));
    connect(button("SB9", QStringLiteral("存PDF")), &QToolButton::clicked, this, &TFdyPreview1::choosePdfFile);
    connect(button("SB8", QStringLiteral("关闭")), &QToolButton::clicked, this, &TFdyPreview1::reject);
    bar->addStretch(1);

    zoomMenu_ = new QMenu(this);
    const std::pair<QString, Zoom> zooms[] = {
        {QStringLiteral("缩放—全屏"), Zoom::WholePage},
        {QStringLiteral("缩放—页宽"), Zoom::PageWidth},
        {QStringLiteral("缩放—100%（实际打印效果）"), Zoom::Actual},
        {QStringLiteral("缩放—50%"), Zoom::Half},
    };
    for (const auto &[text, z] : zooms)
        connect(zoomMenu_->addAction(text), &QAction::triggered, this, [this, zz = z] { setZoom(zz); });
    // The menu opens when the mouse is released on the button, under it.
    connect(zoomButton, &QToolButton::clicked, this, [this, zoomButton] {
        zoomMenu_->popup(zoomButton->mapToGlobal(QPoint(0, zoomButton->height())));
    });

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("PageArea"));
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PreviewPageView(scroll_);
    scroll_->setWidget(view_);
    scroll_->viewport()->installEventFilter(this);

    auto *printAct = new QAction(QStringLiteral("打印"), this);
    auto *setupAct = new QAction(QStringLiteral("设置"), this);
    auto *closeAct = new QAction(QStringLiteral("关闭"), this);
    connect(printAct, &QAction::triggered, this, &TFdyPreview1::printAll);
    connect(setupAct, &QAction::triggered, this, &TFdyPreview1::printerSetup);
    connect(closeAct, &QAction::triggered, this, &TFdyPreview1::reject);
    for (QWidget *w : {static_cast<QWidget *>(view_), scroll_->viewport()}) {
        w->setContextMenuPolicy(Qt::ActionsContextMenu);
        w->addActions({printAct, setupAct, closeAct});
    }

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    progress_ = new QProgressBar(status);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, std::max(1, paginator_->rowCount()));
    progress_->setMaximumWidth(160);
    progress_->setTextVisible(false);
    pageLabel_ = new QLabel(status);
    pageLabel_->setObjectName(QStringLiteral("PageText"));
    status->addWidget(progress_);
    status->addWidget(pageLabel_, 1);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addLayout(bar);
    root->addWidget(scroll_, 1);
    root->addWidget(status);

    refreshPageText();
    QTimer::singleShot(0, this, &TFdyPreview1::buildSome);
}

TFdyPreview1::~TFdyPreview1() = default;

int TFdyPreview1::pageCount() const { return int(paginator_->pages().size()); }
bool TFdyPreview1::isBuilt() const { return paginator_->done(); }
const PrintedReport &TFdyPreview1::report() const { return paginator_->report(); }

QString TFdyPreview1::pageText() const
{
    return QStringLiteral(" 第 %1 页 共 %2 页").arg(current_).arg(pageCount());
}

void TFdyPreview1::buildSome()
{
    if (paginator_->done()) return;
    const int before = pageCount();
    paginator_->step(RowsPerStep);
    progress_->setValue(paginator_->rowsDone());
    if (pageCount() != before) {
        if (current_ == 0) showPage(1);
        else refreshPageText();
    }
    if (paginator_->done()) progress_->hide();
    else QTimer::singleShot(0, this, &TFdyPreview1::buildSome);
}

void TFdyPreview1::buildAll()
{
    while (!paginator_->done()) buildSome();
}

void TFdyPreview1::showPage(int n)
{
    if (pageCount() == 0) return;
    current_ = std::clamp(n, 1, pageCount());
    relayoutPage();
    refreshPageText();
}

void TFdyPreview1::refreshPageText() { pageLabel_->setText(pageText()); }

void TFdyPreview1::firstPage() { showPage(1); }
void TFdyPreview1::previousPage() { showPage(current_ - 1); }
void TFdyPreview1::nextPage() { showPage(current_ + 1); }
void TFdyPreview1::lastPage() { showPage(pageCount()); }

double TFdyPreview1::pixelsPerMm() const
{
    const PageSetup &s = paginator_->report().page;
    const double actual = logicalDpiX() / 25.4;
    // Fit to the area without scroll bars; a page fitted to the width is taller than the area,
    // so leave room for the vertical bar it brings.
    const QSize area = scroll_->maximumViewportSize() - QSize(2 * PageGap, 2 * PageGap);
    const double w = std::max(1, area.width()), h = std::max(1, area.height());
    switch (zoom_) {
    case Zoom::Actual: return actual;
    case Zoom::Half: return actual / 2;
    case Zoom::PageWidth: {
        const double fit = w / s.pageWidthMm();
        if (fit * s.pageHeightMm() <= h) return fit;
        const int bar = scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
        return std::max(1.0, w - bar) / s.pageWidthMm();
    }
    case Zoom::WholePage: return std::min(w / s.pageWidthMm(), h / s.pageHeightMm());
    }
    return actual;
}

void TFdyPreview1::setZoom(Zoom z)
{
    zoom_ = z;
    relayoutPage();
}

void TFdyPreview1::relayoutPage()
{
    const PageSetup &s = paginator_->report().page;
    const PrintedPage *page = current_ > 0 ? &paginator_->pages()[current_ - 1] : nullptr;
    view_->setPage(page, QSizeF(s.pageWidthMm(), s.pageHeightMm()), pixelsPerMm());
}

bool TFdyPreview1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize &&
        (zoom_ == Zoom::WholePage || zoom_ == Zoom::PageWidth))
        relayoutPage();
    return QDialog::eventFilter(watched, event);
}

QPrinter &TFdyPreview1::printer()
{
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TFdyPreview1::printerSetup()
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        prompt().warn(noPrinterText());
        return;
    }
    QPrintDialog dialog(&printer(), this);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.exec();
}

void TFdyPreview1::printAll()
{
    // Without a printer Qt would quietly "print" into nowhere; say so instead.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        prompt().warn(noPrinterText());
        return;
    }
    buildAll();
    if (!PageRenderer::print(printer(), report())) prompt().warn(noPrinterText());
}

bool TFdyPreview1::savePdf(const QString &path)
{
    buildAll();
    QString error;
    if (!PageRenderer::writePdf(path, report(), &error)) {
        prompt().warn(QStringLiteral("PDF文件保存失败！") + error);
        return false;
    }
    return true;
}

void TFdyPreview1::choosePdfFile()
{
    QString name = report().title.trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    if (name.isEmpty()) name = QStringLiteral("打印");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("保存为PDF文件"),
                                                      QDir::home().filePath(name + QStringLiteral(".pdf")),
                                                      QStringLiteral("PDF文件 (*.pdf)"));
    if (path.isEmpty()) return;
    if (savePdf(path)) prompt().info(QStringLiteral("PDF文件已保存！"));
}
