#pragma once

#include <QWidget>
#include <memory>

#include "ports/Notification.h"

namespace pelorin::ui {

// The widget of a window model, made the first time the model shows its window: a
// start-up without the window stays quick. Once made, the widget follows the model's
// `changed` itself.
template <typename Model, typename Widget>
class LazyWidget {
 public:
  explicit LazyWidget(Model& model)
      : model_(model), watch_(model.changed.Subscribe([this] { MakeWhenShown(); })) {}

  Widget* Made() const { return widget_.get(); }
  void Hide() {
    if (widget_) widget_->hide();
  }

 private:
  void MakeWhenShown() {
    if (widget_ || !model_.Visible()) return;
    widget_ = std::make_unique<Widget>(model_);
    widget_->Refresh();
  }

  Model& model_;
  std::unique_ptr<Widget> widget_;
  ports::Subscription watch_;
};

}  // namespace pelorin::ui
