#include "cli/command_line.h"

namespace qm47 {

namespace {

// The option a word names: "port" for "--port", "-port" or "--port=X"; "" for none.
QString OptionIn(const QString& word) {
  if (!word.startsWith('-') || word == "-" || word == "--") return {};
  return word.mid(word.startsWith("--") ? 2 : 1).section('=', 0, 0);
}

bool Names(const QCommandLineOption& option, const QString& word) {
  return !word.contains('=') && option.names().contains(OptionIn(word));
}

}  // namespace

QStringList CommandLineWords(int argc, char** argv) {
  QStringList words;
  for (int i = 0; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  return words;
}

TypedWords::TypedWords(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    typed_.emplace(QString::fromLocal8Bit(argv[i]), word);
    if (const auto eq = word.find('='); word.rfind('-', 0) == 0 && eq != std::string::npos) {
      typed_.emplace(QString::fromLocal8Bit(word.substr(eq + 1)), word.substr(eq + 1));
    }
  }
}

std::string TypedWords::operator()(const QString& word) const {
  const auto it = typed_.find(word);
  return it != typed_.end() ? it->second : word.toStdString();
}

std::string ReadCommandLine(QCommandLineParser& parser, const QList<QCommandLineOption>& options, QStringList words) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addOptions(options);
  for (QString& word : words) {
    if (word == "--") break;
    for (const QCommandLineOption& option : options) {
      if (!option.defaultValues().isEmpty() && Names(option, word)) word += "=" + option.defaultValues().constFirst();
    }
  }
  if (parser.parse(words)) return {};
  // Said of the first word at fault, as typed but without a value given to it.
  const QStringList unknown = parser.unknownOptionNames();
  for (const QString& word : words.mid(1)) {
    if (word == "--") break;
    const std::string typed = word.section('=', 0, 0).toStdString();
    if (!unknown.isEmpty() && OptionIn(word) == unknown.constFirst()) return "unknown option " + typed;
    for (const QCommandLineOption& option : options) {
      if (word.contains('=') && option.valueName().isEmpty() && option.names().contains(OptionIn(word))) {
        return typed + " takes no value";
      }
    }
  }
  // Only the last word can be an option without its value.
  for (const QCommandLineOption& option : options) {
    if (!option.valueName().isEmpty() && Names(option, words.constLast())) {
      return words.constLast().toStdString() + " needs a value";
    }
  }
  return parser.errorText().toStdString();
}

}  // namespace qm47
