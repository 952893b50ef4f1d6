#pragma once

#include <QApplication>
#include <functional>
#include <string>

#include "app/main_form.h"
#include "app/view/main_window.h"
#include "board/simulated_board.h"
#include "board/simulated_serial_port.h"
#include "form/form.h"
#include "support/fakes.h"
#include "support/hex_folder.h"

namespace korvane::testing {

/// Runs `action` whenever panel 1 of `form` comes to show `text`, besides what it did before.
inline void OnPanelOneText(Form& form, std::string text, std::function<void()> action) {
  auto& panel = form.Panel(1);
  panel.SetObserver(
      [&panel, text = std::move(text), action = std::move(action), shown = panel.Observer()] {
        if (shown) shown();
        if (panel.Text() == text) action();
      });
}

/// The real window, shown, on the real logic and the simulated board, with fakes for the rest of
/// the outside world. `Time` is VirtualTime or the real QtTimeBase. Header only: users link the
/// Qt view.
template <typename Time>
struct WindowOnBoard {
  explicit WindowOnBoard(BoardOptions options = {}, int board_port = 1)
      : board(time, options),
        port(time, board, board_port),
        main(form, PlatformServices{time, port, window.AdcGraph(), window.Histo(), settings,
                                    dialogs, process}) {
    main.loader().SetHexFolder(hex_folder.Path());
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
  }

  template <typename Widget>
  Widget* Find(const char* name) {
    return window.template findChild<Widget*>(name);
  }

  /// Runs `action` whenever panel 1 comes to show `text`, besides what the window does with it.
  void OnMessage(std::string text, std::function<void()> action) {
    OnPanelOneText(form, std::move(text), std::move(action));
  }

  Time time;
  Form form;
  MainWindow window{form};
  RecordingDialogs dialogs;
  MemorySettings settings;
  FakeProcess process;
  SimulatedBoard board;
  SimulatedSerialPort port;
  MainForm main;
  /// The loader's folder, empty until a test writes the HEX file into it.
  HexFolder hex_folder;
};

}  // namespace korvane::testing
