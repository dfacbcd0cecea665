// Shared set-up of the main-window tests: a window over scripted dialogs,
// a scratch folder, and small pictures made in the test.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/state.h"
#include "main_window/main_window.h"
#include "support/bitmap_file.h"
#include "support/scripted_dialogs.h"

namespace tavo::testing {

// The pixel block an n x n picture becomes: bottom row first, blue, green, red.
inline Bytes block(int n, const std::function<Colour(int, int)>& colour) {
  Bytes b;
  for (int y = n - 1; y >= 0; --y)
    for (int x = 0; x < n; ++x) {
      const Colour c = colour(x, y);
      b.insert(b.end(), {blueOf(c), greenOf(c), redOf(c)});
    }
  return b;
}

// Distinct colours for every pixel, different for each `seed`.
inline std::function<Colour(int, int)> distinct(int seed) {
  return [seed](int x, int y) {
    return makeColour(static_cast<std::uint8_t>(x * 7 + seed), static_cast<std::uint8_t>(y * 5 + 3 * seed),
                      static_cast<std::uint8_t>(x * 3 + y * 11 + seed * 17));
  };
}

inline Bytes readAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray a = f.readAll();
  return Bytes(a.begin(), a.end());
}

inline bool writeAll(const QString& path, const Bytes& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) ==
         static_cast<qint64>(bytes.size());
}

inline Bytes slice(const Bytes& b, std::size_t at, std::size_t count) {
  if (at + count > b.size()) return {};
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + count));
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    window = std::make_unique<MainWindow>(state, dialogs);
  }

  QString path(const QString& name) const { return dir.filePath(name); }
  QString file(const QString& name, const Bytes& bytes) {
    const QString p = path(name);
    EXPECT_TRUE(writeAll(p, bytes));
    return p;
  }

  // 选择图片 with the format radio button `radio` and the given dialog answers.
  void select(QRadioButton* radio, std::initializer_list<std::optional<QString>> answers) {
    radio->setChecked(true);
    for (const auto& a : answers) dialogs.fileAnswers.push_back(a);
    window->clicked_选择图片();
    EXPECT_TRUE(dialogs.fileAnswers.empty()) << "fewer file dialogs opened than answered";
  }

  bool shown(QWidget* w) const { return w->isVisibleTo(window.get()); }

  AppState state;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  QTemporaryDir dir;
};

}  // namespace tavo::testing
