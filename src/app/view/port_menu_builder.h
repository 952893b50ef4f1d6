#pragma once

#include <functional>
#include <string>

class QMainWindow;
class QMenu;

namespace korvane {

class PortMapping;

/// The "&Port" menu: "Choose Port..." lists the serial devices present and the mapped ports;
/// the chosen one is mapped and handed to `use_port` with its number.
class PortMenuBuilder {
 public:
  PortMenuBuilder(QMainWindow& window, PortMapping& mapping, std::function<void(int)> use_port);

  QMenu* Build();

  static constexpr const char* kMenu = "&Port";
  static constexpr const char* kChoosePort = "&Choose Port...";

 private:
  QMainWindow& window_;
  PortMapping& mapping_;
  std::function<void(int)> use_port_;
};

}  // namespace korvane
