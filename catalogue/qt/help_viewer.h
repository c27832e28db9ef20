#pragma once
// The help viewer window: one topic of the help file at a time, with
// Contents and Back buttons. Links to other topics (href="#N") are followed
// inside the window; links to the web open nowhere (the help is offline).
#include <QWidget>
#include <vector>

#include "qt/help_file.h"

class QPushButton;
class QTextBrowser;

namespace reelqt {

class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads (or reloads) the help file. On failure the viewer says why.
    void setHelpFile(const QString& path);
    // Shows topic `id`; 0, or a number the file lacks, shows the contents.
    void showTopic(int id);
    void back();

    int currentTopic() const { return current_; }
    const HelpFile& helpFile() const { return file_; }

  private:
    void display(int id, const QString& note);

    HelpFile file_;
    bool loaded_ = false;
    int current_ = -1;
    std::vector<int> history_;
    QTextBrowser* browser_;
    QPushButton* contentsButton_;
    QPushButton* backButton_;
};

}  // namespace reelqt
