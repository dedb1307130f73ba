// The help window: the user guide (an HTML file) in a browser, with a search field.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace qm::ui {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Loads the guide; false when the file cannot be read.
  bool load(const QString& path);
  // The contents page: the top of the guide.
  void showContents();
  // The keyword search: the search field takes the focus.
  void showSearch();
  // Finds the next place of `text` after the cursor (wrapping once). Returns whether found.
  bool find(const QString& text);

 private:
  QTextBrowser* browser_ = nullptr;
  QLineEdit* search_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace qm::ui
