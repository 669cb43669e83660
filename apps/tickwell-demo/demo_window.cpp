// SPDX-License-Identifier: MIT
#include "demo_window.hpp"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <tickwell/files/text_file.hpp>
#include <tickwell/model/clock_state.hpp>
#include <tickwell/platform/error.hpp>
#include <tickwell/qt/property_pages_dialog.hpp>
#include <tickwell/qt/vex_clock_widget.hpp>
#include "demo_palette.hpp"
#include "event_log.hpp"
#include "form_canvas.hpp"
#include "form_document.hpp"
#include "lap_table.hpp"

namespace tickwell::demo {

namespace {

const QString kFormFilter = QObject::tr("Tickwell forms (*.json);;All files (*)");

}  // namespace

DemoWindow::DemoWindow(QWidget* parent)
    : QMainWindow(parent),
      canvas_(new FormCanvas),
      log_(new EventLog),
      laps_(new LapTable),
      mode_label_(new QLabel),
      running_label_(new QLabel) {
    auto* scroll = new QScrollArea;
    scroll->setWidget(canvas_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    setCentralWidget(scroll);

    auto* dock = new QDockWidget(tr("Event Log"), this);
    dock->setObjectName(QStringLiteral("eventLog"));
    dock->setWidget(log_);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    auto* laps_dock = new QDockWidget(tr("Laps"), this);
    laps_dock->setObjectName(QStringLiteral("laps"));
    laps_dock->setWidget(laps_);
    laps_dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    addDockWidget(Qt::BottomDockWidgetArea, laps_dock);
    splitDockWidget(dock, laps_dock, Qt::Horizontal);
    resizeDocks({dock}, {180}, Qt::Vertical);
    resizeDocks({dock, laps_dock}, {620, 340}, Qt::Horizontal);

    createActions();
    createMenus();
    createToolBar();
    view_menu_->addAction(dock->toggleViewAction());
    view_menu_->addAction(laps_dock->toggleViewAction());

    mode_label_->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Design mode")) + 12);
    statusBar()->addPermanentWidget(running_label_);
    statusBar()->addPermanentWidget(mode_label_);

    canvas_->setContextMenuPolicy(Qt::ActionsContextMenu);
    canvas_->addActions({properties_action_, delete_action_});

    connect(canvas_, &FormCanvas::controlAdded, log_, &EventLog::watch);
    connect(canvas_, &FormCanvas::controlAdded, laps_, &LapTable::watch);
    connect(canvas_, &FormCanvas::modified, this, [this] { setModified(true); });
    connect(canvas_, &FormCanvas::selectionChanged, this, &DemoWindow::updateState);
    connect(canvas_, &FormCanvas::propertiesRequested, this, &DemoWindow::showProperties);
    // A running state changes by itself too (a count-down expires): the status bar follows
    // each stopwatch's runningChanged, and the face's text of the one it names.
    connect(canvas_, &FormCanvas::controlAdded, this, [this](qt::VexClockWidget* control) {
        connect(control, &qt::VexClockWidget::runningChanged, this, &DemoWindow::updateState);
        connect(control, &qt::VexClockWidget::textChanged, this, [this, control] {
            if (control == current()) updateState();
        });
    });

    resize(960, 640);
    updateTitle();
    updateState();
}

DemoWindow::~DemoWindow() {
    // The form outlives this part of the window while QWidget deletes the children.
    disconnect(canvas_, nullptr, this, nullptr);
}

void DemoWindow::createActions() {
    const auto action = [this](const QString& text, const QKeySequence& keys,
                               QStyle::StandardPixmap icon, auto slot) {
        auto* a = new QAction(text, this);
        if (!keys.isEmpty()) a->setShortcut(keys);
        if (icon != QStyle::SP_CustomBase) a->setIcon(style()->standardIcon(icon));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    const auto none = QStyle::SP_CustomBase;

    new_action_ = action(tr("&New"), QKeySequence::New, QStyle::SP_FileIcon, &DemoWindow::newForm);
    open_action_ =
        action(tr("&Open..."), QKeySequence::Open, QStyle::SP_DialogOpenButton, &DemoWindow::open);
    save_action_ =
        action(tr("&Save"), QKeySequence::Save, QStyle::SP_DialogSaveButton, &DemoWindow::save);
    save_as_action_ = action(tr("Save &As..."), QKeySequence::SaveAs, none, &DemoWindow::saveAs);
    quit_action_ = action(tr("&Quit"), QKeySequence::Quit, none, &QWidget::close);

    add_action_ = action(tr("&Add Stopwatch"), QKeySequence(tr("Ctrl+Shift+A")), none,
                         &DemoWindow::addStopwatch);
    delete_action_ =
        action(tr("&Delete"), QKeySequence::Delete, none, &DemoWindow::deleteSelection);
    select_all_action_ = action(tr("Select &All"), QKeySequence::SelectAll, none,
                                [this] { canvas_->setSelection(canvas_->controls()); });
    properties_action_ = action(tr("&Properties..."), QKeySequence(tr("F4")),
                                QStyle::SP_FileDialogDetailedView, &DemoWindow::showProperties);

    run_action_ = new QAction(tr("&Run Mode"), this);
    run_action_->setShortcut(QKeySequence(tr("Ctrl+R")));
    run_action_->setCheckable(true);
    connect(run_action_, &QAction::toggled, this, &DemoWindow::setRunMode);
    start_action_ = action(tr("&Start"), QKeySequence(tr("F5")), QStyle::SP_MediaPlay,
                           [this] { current()->control().StartClock(); });
    stop_action_ = action(tr("S&top"), QKeySequence(tr("F6")), QStyle::SP_MediaStop,
                          [this] { current()->control().StopClock(); });
    reset_action_ = action(tr("R&eset"), QKeySequence(tr("F7")), QStyle::SP_BrowserReload,
                           [this] { current()->control().ResetClock(); });
    lap_action_ = action(tr("&Lap"), QKeySequence(tr("F8")), QStyle::SP_ArrowRight,
                         [this] { current()->lap(); });
    export_laps_action_ = action(tr("E&xport Laps..."), {}, none, [this] { exportLaps(); });
    start_all_action_ =
        action(tr("Start A&ll"), QKeySequence(tr("Ctrl+F5")), none, &DemoWindow::startAll);
    stop_all_action_ = action(tr("Stop All"), QKeySequence(tr("Ctrl+F6")), none, [this] {
        for (qt::VexClockWidget* w : canvas_->controls()) {
            if (w->control().Running()) w->control().StopClock();
        }
    });
    for (QAction* a : {start_action_, stop_action_, reset_action_, lap_action_, start_all_action_,
                       stop_all_action_})
        connect(a, &QAction::triggered, this, &DemoWindow::updateState);

    shared_state_action_ =
        action(tr("S&hared Stopwatch State"), {}, none, &DemoWindow::setSharedState);
    shared_state_action_->setCheckable(true);
    shared_state_action_->setToolTip(
        tr("Every stopwatch of the form uses one process-wide state, as hosts of the original "
           "component expect; off, each is a stopwatch of its own"));

    log_moves_action_ =
        action(tr("Log &Mouse Moves"), {}, none, [this](bool on) { log_->setLogMouseMoves(on); });
    log_moves_action_->setCheckable(true);
    clear_log_action_ = action(tr("&Clear Event Log"), {}, none, [this] { log_->setRowCount(0); });
    about_action_ = action(tr("&About Tickwell Demo..."), {}, none, &DemoWindow::about);
}

void DemoWindow::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addActions({new_action_, open_action_, save_action_, save_as_action_});
    file->addSeparator();
    file->addAction(export_laps_action_);
    file->addSeparator();
    file->addAction(quit_action_);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addActions({add_action_, delete_action_, select_all_action_});
    edit->addSeparator();
    edit->addAction(properties_action_);
    edit->addSeparator();
    edit->addAction(shared_state_action_);

    QMenu* run = menuBar()->addMenu(tr("&Run"));
    run->addAction(run_action_);
    run->addSeparator();
    run->addActions({start_action_, stop_action_, reset_action_, lap_action_});
    run->addSeparator();
    run->addActions({start_all_action_, stop_all_action_});

    view_menu_ = menuBar()->addMenu(tr("&View"));
    QMenu* palettes = view_menu_->addMenu(tr("&Palette"));
    auto* palette_group = new QActionGroup(this);
    const std::pair<QString, DemoPalette> choices[] = {{tr("&Desktop"), DemoPalette::desktop},
                                                       {tr("&Light"), DemoPalette::light},
                                                       {tr("Dar&k"), DemoPalette::dark}};
    for (const auto& [text, which] : choices) {
        QAction* choice = palettes->addAction(text);
        choice->setCheckable(true);
        choice->setChecked(which == DemoPalette::desktop);
        choice->setObjectName(QStringLiteral("palette-%1").arg(static_cast<int>(which)));
        palette_group->addAction(choice);
        connect(choice, &QAction::triggered, this,
                [which = which] { QApplication::setPalette(palette_of(which)); });
    }
    view_menu_->addSeparator();
    view_menu_->addActions({log_moves_action_, clear_log_action_});
    view_menu_->addSeparator();

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(about_action_);
}

void DemoWindow::createToolBar() {
    QToolBar* bar = addToolBar(tr("Form"));
    bar->setObjectName(QStringLiteral("formToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setMovable(false);
    bar->addActions({new_action_, open_action_, save_action_});
    bar->addSeparator();
    bar->addActions({add_action_, properties_action_});
    bar->addSeparator();
    bar->addActions({run_action_, start_action_, stop_action_, reset_action_, lap_action_});
}

qt::VexClockWidget* DemoWindow::current() const {
    const QList<qt::VexClockWidget*>& s = canvas_->selection();
    return s.isEmpty() ? nullptr : s.front();
}

bool DemoWindow::runMode() const {
    return canvas_->runMode();
}

void DemoWindow::setRunMode(bool run) {
    canvas_->setRunMode(run);
    {
        const QSignalBlocker quiet(run_action_);  // when called from elsewhere than the action
        run_action_->setChecked(run);
    }
    if (run) {
        if (canvas_->selection().isEmpty() && !canvas_->controls().isEmpty())
            canvas_->setSelection({canvas_->controls().front()});
        if (qt::VexClockWidget* w = current()) w->setFocus();
    }
    updateState();
}

void DemoWindow::startAll() {
    for (qt::VexClockWidget* w : canvas_->controls()) {
        if (!w->control().Running()) w->control().StartClock();
    }
    updateState();
}

void DemoWindow::setModified(bool modified) {
    modified_ = modified;
    setWindowModified(modified);
}

void DemoWindow::updateTitle() {
    const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
    setWindowTitle(tr("%1[*] - Tickwell Demo").arg(name));
    setWindowModified(modified_);
}

void DemoWindow::updateState() {
    const bool run = canvas_->runMode();
    const bool selected = !canvas_->selection().isEmpty();
    qt::VexClockWidget* w = current();
    const bool running = w && w->control().Running();

    add_action_->setEnabled(!run);
    delete_action_->setEnabled(!run && selected);
    select_all_action_->setEnabled(!run && !canvas_->controls().isEmpty());
    properties_action_->setEnabled(!run && selected);
    start_action_->setEnabled(run && w && !running);
    stop_action_->setEnabled(run && running);
    reset_action_->setEnabled(run && w);
    lap_action_->setEnabled(run && w);
    export_laps_action_->setEnabled(laps_->rowCount() > 0);
    start_all_action_->setEnabled(run && !canvas_->controls().isEmpty());
    stop_all_action_->setEnabled(run);
    about_action_->setEnabled(!canvas_->controls().isEmpty());
    shared_state_action_->setEnabled(!run);
    shared_state_action_->setChecked(canvas_->sharedState());

    mode_label_->setText(run ? tr("Run mode") : tr("Design mode"));
    QString state;
    if (!w) {
        state = canvas_->controls().isEmpty() ? tr("No stopwatch on the form")
                                              : tr("No stopwatch selected");
    } else {
        state =
            (running ? tr("%1 running, %2") : tr("%1 stopped, %2")).arg(w->objectName(), w->text());
        if (canvas_->selection().size() > 1)
            state += tr(" (%1 selected)").arg(canvas_->selection().size());
    }
    if (running_label_->text() != state) running_label_->setText(state);
}

bool DemoWindow::maybeSave() {
    if (!modified_) return true;
    const QString name = path_.isEmpty() ? tr("Untitled") : QFileInfo(path_).fileName();
    const auto answer = QMessageBox::warning(
        this, tr("Tickwell Demo"),
        tr("The form \"%1\" has changes that have not been saved.\nSave them?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return save();
    return answer == QMessageBox::Discard;
}

void DemoWindow::showDefaultForm() {
    build_default_form(*canvas_);
    path_.clear();
    setModified(false);
    updateTitle();
    updateState();
}

bool DemoWindow::openForm(const QString& path, QString* error) {
    // The file is read and every control's read tried before the form changes: a file that
    // cannot be opened leaves the open form, its file name and its changes as they were.
    headless::FormFile form;
    try {
        form = headless::read_form_file(path.toStdString());
        check_form(form, path.toStdString());
    } catch (const headless::FileError& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    }
    try {
        load_form(*canvas_, form, path.toStdString());
        path_ = path;
    } catch (const headless::FileError& e) {
        // Not expected after the check; the form is then left empty rather than half-read.
        canvas_->clear();
        path_.clear();
        if (error) *error = QString::fromStdString(e.what());
        setModified(false);
        updateTitle();
        updateState();
        return false;
    }
    setModified(false);
    updateTitle();
    updateState();
    return true;
}

bool DemoWindow::saveForm(const QString& path, QString* error) {
    try {
        headless::write_form_file(path.toStdString(), capture_form(*canvas_));
    } catch (const headless::FileError& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    } catch (const Error& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    }
    path_ = path;
    setModified(false);
    updateTitle();
    return true;
}

void DemoWindow::closeEvent(QCloseEvent* event) {
    if (maybeSave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void DemoWindow::newForm() {
    if (!maybeSave()) return;
    canvas_->clear();
    Clock::reset_state();
    path_.clear();
    setModified(false);
    updateTitle();
    updateState();
}

void DemoWindow::open() {
    if (!maybeSave()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open Form"), path_.isEmpty() ? QString() : QFileInfo(path_).path(), kFormFilter);
    if (path.isEmpty()) return;
    QString error;
    if (!openForm(path, &error))
        QMessageBox::critical(this, tr("Open Form"),
                              tr("The form could not be opened.\n\n%1").arg(error));
}

bool DemoWindow::save() {
    if (path_.isEmpty()) return saveAs();
    QString error;
    if (saveForm(path_, &error)) return true;
    QMessageBox::critical(this, tr("Save Form"),
                          tr("The form could not be saved.\n\n%1").arg(error));
    return false;
}

bool DemoWindow::saveAs() {
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save Form As"), path_.isEmpty() ? tr("Untitled.json") : path_, kFormFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
    QString error;
    if (saveForm(path, &error)) return true;
    QMessageBox::critical(this, tr("Save Form"),
                          tr("The form could not be saved.\n\n%1").arg(error));
    return false;
}

void DemoWindow::addStopwatch() {
    canvas_->addNewControl();
    canvas_->setFocus();
    updateState();
}

void DemoWindow::deleteSelection() {
    canvas_->removeControls(canvas_->selection());
    updateState();
}

void DemoWindow::showProperties() {
    if (canvas_->runMode() || canvas_->selection().isEmpty()) return;
    tickwell::qt::PropertyPagesDialog dialog(canvas_->selection(), this);
    dialog.exec();
    updateState();
}

void DemoWindow::about() {
    qt::VexClockWidget* w = current();
    if (!w && !canvas_->controls().isEmpty()) w = canvas_->controls().front();
    if (w) w->control().ShowAboutBox();
}

void DemoWindow::setSharedState(bool shared) {
    if (shared == canvas_->sharedState()) return;
    try {
        headless::FormFile form = capture_form(*canvas_);
        form.shared_state = shared;
        const QStringList selected = [this] {
            QStringList names;
            for (const qt::VexClockWidget* c : canvas_->selection())
                names << c->objectName();
            return names;
        }();
        load_form(*canvas_, form, tr("the form").toStdString());
        QList<qt::VexClockWidget*> reselected;
        for (const QString& name : selected)
            if (qt::VexClockWidget* c = canvas_->find(name)) reselected << c;
        canvas_->setSelection(reselected);
        setModified(true);
    } catch (const headless::FileError& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
    }
    updateState();
}

bool DemoWindow::exportLaps(const QString& path, QString* error) {
    try {
        headless::replace_file(path.toStdString(), laps_->csv().toStdString());
    } catch (const Error& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

void DemoWindow::exportLaps() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Export Laps"), QString(),
                                                      tr("Comma-separated values (*.csv)"));
    if (path.isEmpty()) return;
    QString error;
    if (!exportLaps(path, &error)) QMessageBox::warning(this, windowTitle(), error);
}

}  // namespace tickwell::demo
