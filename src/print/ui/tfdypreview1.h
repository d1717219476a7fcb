// Print preview "打印预览": the pages of one print with page keys, zoom, printer set-up,
// printing and saving as PDF.
#pragma once

#include "print/pagination.h"

#include <QDialog>

#include <memory>

class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QScrollArea;
class QToolButton;
class PreviewPageView;

class TFdyPreview1 : public QDialog {
    Q_OBJECT
public:
    enum class Zoom { WholePage, PageWidth, Actual, Half };

    TFdyPreview1(const PrintLayout &layout, const ReportData &content, QWidget *parent = nullptr);
    ~TFdyPreview1() override;

    static QString noPrinterText() { return QStringLiteral("找不到打印机，请安装打印机！"); }

    // Lays out the remaining pages at once; printing and saving need every page.
    void buildAll();
    bool isBuilt() const;

    int pageCount() const;
    int currentPage() const { return current_; }   // from 1; 0 while no page is ready
    QString pageText() const;
    const PrintedReport &report() const;

    Zoom zoom() const { return zoom_; }
    void setZoom(Zoom z);
    double pixelsPerMm() const;   // the page scale the current zoom gives
    QMenu *zoomMenu() const { return zoomMenu_; }

    // Writes every page to the file; a failure is told through the Prompter.
    bool savePdf(const QString &path);

public slots:
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void printerSetup();
    void printAll();
    void choosePdfFile();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSome();
    void showPage(int n);
    void refreshPageText();
    void relayoutPage();
    QPrinter &printer();

    std::unique_ptr<Paginator> paginator_;
    std::unique_ptr<QPrinter> printer_;
    int current_ = 0;
    Zoom zoom_ = Zoom::Actual;
    PreviewPageView *view_ = nullptr;
    QScrollArea *scroll_ = nullptr;
    QLabel *pageLabel_ = nullptr;
    QProgressBar *progress_ = nullptr;
    QMenu *zoomMenu_ = nullptr;
};
