// How qm47-cli and qm47-sim read their command lines: QCommandLineParser, never its own
// help, errors or exit, so each tool says what is wrong in its own words and status.
#pragma once

#include <QCommandLineParser>
#include <map>
#include <string>

namespace qm47 {

// The words of the command line, the program's name first.
QStringList CommandLineWords(int argc, char** argv);

// A file name may hold bytes that are no text in the user's encoding; read back through
// QString they would be lost. This gives each word (and each value after "=") as typed.
class TypedWords {
 public:
  TypedWords(int argc, char** argv);
  std::string operator()(const QString& word) const;

 private:
  std::map<QString, std::string> typed_;
};

// Reads `words` with `options` into `parser`, one dash being as good as two ("-hv" is one
// unknown option, not -h -v) and "--" ending the options. An option with a default value
// may stand alone for it: "--verify" is "--verify=whole", and the next word stays a file.
// Returns "" when the words fit, else what is wrong: "unknown option --port", "--port needs
// a value". The options before the fault are read either way, so --help can still answer.
std::string ReadCommandLine(QCommandLineParser& parser, const QList<QCommandLineOption>& options, QStringList words);

}  // namespace qm47
