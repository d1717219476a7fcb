// The main window: the frame whose menu, tool bar and navigation open every other window.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

class TFmain1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TFmain1(QWidget *parent = nullptr);
    ~TFmain1() override;

    // Reads the company row and sets the title; false when the book cannot be read.
    bool formCreate();
    // Runs when the window is first shown after login: publishes the operator and evaluates
    // the twelve permissions.
    void formShow(const QString &operatorName);

    static TFmain1 *instance();

    // Menu commands by caption ("零售", "商品资料", …).
    QAction *command(const QString &caption) const;
    // Performs a command as the menu would: nothing when it is disabled.
    void perform(const QString &caption);
    // What a command does; subsystems plug their windows in here.
    void setCommandHandler(const QString &caption, std::function<void()> handler);
    // Shown when the operator wants a backup on quitting.
    void setBackupHandler(std::function<void()> handler) { backup_ = std::move(handler); }

    // Brings an open window of that class back (restoring it when minimised) and gives it the
    // focus; false when none is open.
    bool activateIfOpen(const QMetaObject &cls);
    // Puts a business window into the frame; it frees itself when closed.
    QMdiSubWindow *addChild(QWidget *w);
    // Opens the one window of its class: the open one, or a new one.
    template <class W> W *openChild()
    {
        if (activateIfOpen(W::staticMetaObject)) return findChild<W *>();
        auto *w = new W;
        addChild(w);
        return w;
    }
    QMdiArea *mdiArea() const { return mdi_; }

    void showNavigation();
    QString statusText(int panel) const;

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void buildMenu();
    void buildToolBar();
    void buildStatusBar();
    void tick();
    void activate(QMdiSubWindow *sw);

    QMdiArea *mdi_ = nullptr;
    QHash<QString, QAction *> commands_;
    QHash<QString, std::function<void()>> handlers_;
    std::function<void()> backup_;
    QList<QLabel *> panels_;
    QTimer *clock_ = nullptr;
    QAction *navigationCheck_ = nullptr;
};
