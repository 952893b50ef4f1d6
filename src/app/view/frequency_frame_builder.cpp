#include "app/view/frequency_frame_builder.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "app/view/control_binder.h"
#include "form/form.h"

namespace korvane {

QGroupBox* FrequencyFrameBuilder::Build(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.FraFreq, parent);
  auto* layout = new QGridLayout(frame);
  layout->setVerticalSpacing(4);
  int row = 0;
  auto add_box = [&](Label& label_model, TextBox& box_model, bool output) {
    QLineEdit* box =
        output ? binder_.MakeOutputBox(box_model, frame) : binder_.MakeTextBox(box_model, frame);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000.000000")));
    QLabel* label = binder_.MakeLabel(label_model, frame);
    label->setBuddy(box);
    binder_.NameAfter(label_model, *box);
    layout->addWidget(label, row, 0);
    layout->addWidget(box, row, 1);
    ++row;
  };
  auto add_divider = [&](Line& model) {
    layout->addWidget(binder_.MakeLine(model, Qt::Horizontal, frame), row, 0, 1, 2);
    ++row;
  };

  add_box(form_.label2[7], form_.txtFreq, false);
  add_divider(form_.Line1[0]);
  add_box(form_.label2[2], form_.txtAClock, false);
  add_box(form_.label2[1], form_.txtDecimation, false);
  add_divider(form_.Line1[1]);
  add_box(form_.label2[3], form_.txtFMod, true);
  add_box(form_.label2[4], form_.txtFdata, true);
  add_box(form_.label2[5], form_.txtTdata, true);
  return frame;
}

}  // namespace korvane
