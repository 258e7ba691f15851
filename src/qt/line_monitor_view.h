#pragma once

#include "dialogs/line_monitor_form.h"
#include "qt/form_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;

namespace vs {

class FrameTableModel;

// "Line Monitor", beside the main window: the statistics table, the poll's
// ticks and what they advise, the buttons, then the frames. The frame table
// follows the newest frame while it is scrolled to the end; scrolled back, it
// keeps the rows in view where they are until they drop out of the monitor.
class LineMonitorView : public FormDialog {
 public:
  LineMonitorView(LineMonitorForm& form, QWidget* parent);
  ~LineMonitorView() override;

  QTableView& frames() { return *frames_; }
  FrameTableModel& frameModel() { return *model_; }

 protected:
  void refresh() override;

 private:
  void showStatistics();
  void showFrames();

  LineMonitorForm& form_;
  QTableWidget* statistics_;
  QLabel* ticks_;
  QLabel* notes_;
  QLabel* advice_;
  QPushButton* pause_;
  QCheckBox* errorsOnly_;
  QLabel* status_;
  QTableView* frames_;
  FrameTableModel* model_;
};

}  // namespace vs
