#include <iostream>
#include <sstream>

#include "cli/run.h"
#include "level/category.h"
#include "script/zr3script.h"

namespace zr3::cli {

namespace {

// The subcommands a user sees: every one but the hidden ones (an empty group).
std::vector<const CLI::App*> VisibleCommands(const CLI::App& app) {
  return app.get_subcommands([](const CLI::App* command) { return !command->get_group().empty(); });
}

std::vector<const CLI::Option*> Positionals(const CLI::App& command) {
  return command.get_options([](const CLI::Option* option) {
    return option->get_positional() && !option->nonpositional();
  });
}

std::vector<const CLI::Option*> Named(const CLI::App& command) {
  return command.get_options([](const CLI::Option* option) { return option->nonpositional(); });
}

std::vector<std::string> NamesOf(const CLI::Option& option) {
  std::vector<std::string> names;
  for (const std::string& name : option.get_snames()) names.push_back("-" + name);
  for (const std::string& name : option.get_lnames()) names.push_back("--" + name);
  return names;
}

bool TakesValue(const CLI::Option& option) {
  return option.get_items_expected_max() > 0;
}
bool TakesMany(const CLI::Option& option) {
  return option.get_items_expected_max() > 1;
}

// What a positional of this name completes to.
enum class Completion { LevelFile, Category, AnyFile };
Completion CompletionOf(const CLI::Option& positional) {
  const std::string name = positional.get_name(true);
  if (name == "LEVEL") return Completion::LevelFile;
  if (name == "CATEGORY") return Completion::Category;
  return Completion::AnyFile;
}

std::string CategoryWords() {
  std::string words = "general";
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    words += " " + std::string(InfoOf(static_cast<Category>(c)).commandName);
  }
  return words;
}

// Roff text: a backslash is written as \e, and a line that would start with a control
// character is protected.
std::string Roff(const std::string& text) {
  std::string out;
  bool lineStart = true;
  for (char c : text) {
    if (lineStart && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    lineStart = c == '\n';
  }
  return out;
}

// A help2man include file: the COMMANDS section, every subcommand with its own --help.
void WriteManCommands(const CLI::App& app, std::ostream& out) {
  out << "[COMMANDS]\n";
  out << "Each command prints its own help with \\fBzr3\\fR \\fICOMMAND\\fR \\fB\\-\\-help\\fR.\n";
  for (const CLI::App* command : VisibleCommands(app)) {
    out << ".SS " << Roff(command->get_name()) << "\n.nf\n"
        << Roff(command->help(app.get_name())) << "\n.fi\n";
  }
}

void WriteBash(const CLI::App& app, std::ostream& out) {
  std::string commands;
  for (const CLI::App* command : VisibleCommands(app)) {
    commands += (commands.empty() ? "" : " ") + command->get_name();
  }
  out << "# bash completion for zr3, generated from its command line.\n"
         "_zr3() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]}\n"
         "  local prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  if ((COMP_CWORD == 1)); then\n"
         "    COMPREPLY=($(compgen -W '"
      << commands << " --help --version' -- \"$cur\"))\n"
      << "    return\n"
         "  fi\n"
         "  local options valued positionals\n"
         "  case ${COMP_WORDS[1]} in\n";
  for (const CLI::App* command : VisibleCommands(app)) {
    std::string options;
    std::string valued;
    for (const CLI::Option* option : Named(*command)) {
      for (const std::string& name : NamesOf(*option)) {
        options += (options.empty() ? "" : " ") + name;
        if (TakesValue(*option)) valued += (valued.empty() ? "" : " ") + name;
      }
    }
    // One word per positional: what it completes to; the last repeats when it takes many.
    std::string positionals;
    for (const CLI::Option* positional : Positionals(*command)) {
      const Completion completion = CompletionOf(*positional);
      positionals += positionals.empty() ? "" : " ";
      positionals += completion == Completion::LevelFile  ? "level"
                     : completion == Completion::Category ? "category"
                                                          : "file";
      if (TakesMany(*positional)) positionals += "*";
    }
    out << "    " << command->get_name() << ") options='" << options << "' valued='" << valued
        << "' positionals='" << positionals << "' ;;\n";
  }
  out << "    *) return ;;\n"
         "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  if [[ \" $valued \" == *\" $prev \"* ]]; then\n"
         "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  # Which positional the word is: the words before it that are neither options nor\n"
         "  # their values.\n"
         "  local i position=0\n"
         "  for ((i = 2; i < COMP_CWORD; i++)); do\n"
         "    local word=${COMP_WORDS[i]}\n"
         "    if [[ $word == -* ]]; then\n"
         "      continue\n"
         "    elif [[ \" $valued \" == *\" ${COMP_WORDS[i-1]} \"* ]]; then\n"
         "      continue\n"
         "    fi\n"
         "    ((position++))\n"
         "  done\n"
         "  local kinds=($positionals) kind=file\n"
         "  if ((position < ${#kinds[@]})); then\n"
         "    kind=${kinds[position]}\n"
         "  elif ((${#kinds[@]} > 0)); then\n"
         "    kind=${kinds[-1]}\n"
         "    [[ $kind == *\\* ]] || return\n"
         "  fi\n"
         "  case ${kind%\\*} in\n"
         "    category) COMPREPLY=($(compgen -W '"
      << CategoryWords()
      << "' -- \"$cur\")) ;;\n"
         "    level) COMPREPLY=($(compgen -f -X '!*.[zZ][rR]3' -- \"$cur\") $(compgen -d -- "
         "\"$cur\")) ;;\n"
         "    *) COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n"
         "  esac\n"
         "}\n"
         "complete -o filenames -F _zr3 zr3\n";
}

// A zsh description: no brackets, colons or single quotes, which zsh option descriptions use as
// syntax.
std::string ZshText(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '[' || c == ']' || c == ':' || c == '\'' || c == '\\') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

void WriteZsh(const CLI::App& app, std::ostream& out) {
  out << "#compdef zr3\n"
         "# zsh completion for zr3, generated from its command line.\n"
         "_zr3() {\n"
         "  local -a commands\n"
         "  commands=(\n";
  for (const CLI::App* command : VisibleCommands(app)) {
    out << "    '" << command->get_name() << ":" << ZshText(command->get_description()) << "'\n";
  }
  out << "  )\n"
         "  if ((CURRENT == 2)); then\n"
         "    _describe 'command' commands\n"
         "    return\n"
         "  fi\n"
         "  local command=$words[2]\n"
         "  shift words\n"
         "  ((CURRENT--))\n"
         "  case $command in\n";
  for (const CLI::App* command : VisibleCommands(app)) {
    out << "    " << command->get_name() << ")\n      _arguments";
    for (const CLI::Option* option : Named(*command)) {
      for (const std::string& name : NamesOf(*option)) {
        out << " \\\n        '" << name << "[" << ZshText(option->get_description()) << "]"
            << (TakesValue(*option) ? ":value:_files" : "") << "'";
      }
    }
    int position = 1;
    for (const CLI::Option* positional : Positionals(*command)) {
      const std::string spec = TakesMany(*positional) ? "*" : std::to_string(position++);
      const std::string name = ZshText(positional->get_name(true));
      std::string action;
      switch (CompletionOf(*positional)) {
        case Completion::LevelFile:
          action = "_files -g \"*.(zr3|ZR3)\"";
          break;
        case Completion::Category:
          action = "(" + CategoryWords() + ")";
          break;
        case Completion::AnyFile:
          action = "_files";
          break;
      }
      out << " \\\n        '" << spec << ":" << name << ":" << action << "'";
      if (TakesMany(*positional)) break;
    }
    out << " ;;\n";
  }
  out << "  esac\n"
         "}\n"
         "_zr3 \"$@\"\n";
}

}  // namespace

void AddGenerateCommand(CLI::App& app) {
  auto what = std::make_shared<std::string>();
  CLI::App* generate = app.add_subcommand("generate", "");
  generate->group("");
  generate->add_option("WHAT", *what, "man-commands, bash or zsh")
      ->required()
      ->check(CLI::IsMember({"man-commands", "bash", "zsh"}));
  generate->callback([&app, what] {
    if (*what == "man-commands") {
      WriteManCommands(app, std::cout);
    } else if (*what == "bash") {
      WriteBash(app, std::cout);
    } else {
      WriteZsh(app, std::cout);
    }
  });
}

}  // namespace zr3::cli
