// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace tickwell::qt {
class VexClockWidget;
}

namespace tickwell::demo {

class EventLog;
class LapTable;
class FormCanvas;

// The demo's main window: a form of stopwatches to design and to run, its form file, the
// event log and the status bar.
//
// Design mode places stopwatches (Edit > Add Stopwatch), moves, resizes and selects them with
// the mouse, and edits the selection on the property pages (Edit > Properties, or a double
// click). Run mode gives every control its running ambient UserMode and drives the selected
// stopwatch with Start, Stop and Reset (F5, F6, F7); Ctrl+R switches between the two. The
// form is kept in a form file (File > New, Open, Save, Save As), and closing or replacing a
// changed form asks first.
class DemoWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit DemoWindow(QWidget* parent = nullptr);
    ~DemoWindow() override;

    FormCanvas& canvas() const { return *canvas_; }
    EventLog& eventLog() const { return *log_; }

    // The file the form was last opened from or saved to; empty for a new form.
    const QString& filePath() const { return path_; }
    bool isFormModified() const { return modified_; }

    // Replaces the form with the default one (an analog and a digital stopwatch), untitled
    // and unchanged.
    void showDefaultForm();
    // Replaces the form with the file's; a file that cannot be opened (not a form, or a
    // control that cannot read its settings) changes nothing, and `error` says what is wrong.
    // Asks nothing.
    bool openForm(const QString& path, QString* error);
    // Saves the form to `path`, which becomes the form's file; `error` says why not.
    bool saveForm(const QString& path, QString* error);

    // The form setting (Edit > Shared Stopwatch State): the form's controls are created
    // again, from their settings, with the chosen state record. Marks the form changed.
    void setSharedState(bool shared);

    // Writes the laps table to `path` as comma-separated values; `error` says why not.
    bool exportLaps(const QString& path, QString* error);
    const LapTable& laps() const { return *laps_; }

    bool runMode() const;
    void setRunMode(bool run);
    // Starts every stopwatch of the form that is not running.
    void startAll();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBar();

    // The first selected stopwatch: the one Start, Stop, Reset and About act on.
    qt::VexClockWidget* current() const;
    void setModified(bool modified);
    void updateTitle();
    // Enables the actions that apply in the current mode and selection, and shows the mode
    // and the current stopwatch's running state in the status bar.
    void updateState();
    // Offers to save a changed form; false when the user cancels.
    bool maybeSave();

    void newForm();
    void open();
    bool save();
    bool saveAs();
    void addStopwatch();
    void exportLaps();
    void deleteSelection();
    void showProperties();
    void about();

    FormCanvas* canvas_;
    EventLog* log_;
    LapTable* laps_;
    QLabel* mode_label_;
    QLabel* running_label_;
    QMenu* view_menu_ = nullptr;
    QString path_;
    bool modified_ = false;

    QAction* new_action_ = nullptr;
    QAction* open_action_ = nullptr;
    QAction* save_action_ = nullptr;
    QAction* save_as_action_ = nullptr;
    QAction* quit_action_ = nullptr;
    QAction* add_action_ = nullptr;
    QAction* delete_action_ = nullptr;
    QAction* select_all_action_ = nullptr;
    QAction* properties_action_ = nullptr;
    QAction* run_action_ = nullptr;
    QAction* start_action_ = nullptr;
    QAction* stop_action_ = nullptr;
    QAction* reset_action_ = nullptr;
    QAction* start_all_action_ = nullptr;
    QAction* stop_all_action_ = nullptr;
    QAction* log_moves_action_ = nullptr;
    QAction* clear_log_action_ = nullptr;
    QAction* about_action_ = nullptr;
    QAction* shared_state_action_ = nullptr;
    QAction* lap_action_ = nullptr;
    QAction* export_laps_action_ = nullptr;
};

}  // namespace tickwell::demo
