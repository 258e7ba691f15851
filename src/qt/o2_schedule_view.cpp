#include "qt/o2_schedule_view.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vs {

O2ScheduleView::O2ScheduleView(O2ScheduleForm& form, QWidget* parent)
    : ArrangedSettingsView(form, parent) {
  auto* points = new QGridLayout;
  points->setHorizontalSpacing(12);
  points->addWidget(new QLabel("Pressure Set point", this), 0, 1, Qt::AlignHCenter);
  points->addWidget(new QLabel("O2 Sensor Set point", this), 0, 2, Qt::AlignHCenter);
  for (int point = 0; point < O2ScheduleForm::kPointCount; ++point) {
    QLineEdit* pressure = edit(O2ScheduleForm::pressureEdit(point));
    auto* label = new QLabel(QString("Point %1").arg(point + 1), this);
    label->setBuddy(pressure);
    points->addWidget(label, point + 1, 0);
    points->addWidget(pressure, point + 1, 1);
    points->addWidget(edit(O2ScheduleForm::o2Edit(point)), point + 1, 2);
  }
  finishLayout(points);
}

}  // namespace vs
