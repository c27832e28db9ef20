#pragma once
// The catalogue's help file, "Dovelmark3.HLP": one HTML document whose topics
// are <section id="N"> elements, N being the number the screens ask for
// (0 is the contents). A topic's title is its first <h1>/<h2> heading; links
// between topics are written href="#N".
#include <QString>
#include <map>
#include <optional>

namespace reelqt {

struct HelpTopic {
    int id = 0;
    QString title;
    QString html;  // the section's inner HTML
};

class HelpFile {
  public:
    static constexpr const char* kFileName = "Dovelmark3.HLP";

    // Reads and splits the file. False, with the reason in error(), when the
    // file cannot be read or holds no topic.
    bool load(const QString& path);
    // Splits HTML text into topics (what load() does after reading).
    bool parse(const QString& html);

    const HelpTopic* topic(int id) const;
    const std::map<int, HelpTopic>& topics() const { return topics_; }
    QString error() const { return error_; }
    QString path() const { return path_; }

    // Where the help file of a program in `programDir` lies: beside the
    // program, else in the data folder of the install layout (share/reelbook).
    static std::optional<QString> locate(const QString& programDir);

  private:
    std::map<int, HelpTopic> topics_;
    QString error_;
    QString path_;
};

}  // namespace reelqt
