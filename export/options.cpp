#include "export/options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace {

// The value of an option that takes one, given as "--name=value" or as the
// next word; nullopt when this word is not that option.
std::optional<std::string> option_value(const std::vector<std::string>& words, size_t& i, std::string_view name,
                                        std::string_view short_name, bool& missing) {
    const std::string& word = words[i];
    if (word == name || (!short_name.empty() && word == short_name)) {
        if (i + 1 < words.size()) return words[++i];
        missing = true;
        return std::string();
    }
    if (word.size() > name.size() && word.compare(0, name.size(), name) == 0 && word[name.size()] == '=')
        return word.substr(name.size() + 1);
    return std::nullopt;
}

std::string set_format(ExportOptions& options, const std::string& value) {
    if (value == "wav")
        options.format = OutputFormat::WAV;
    else if (value == "wt")
        options.format = OutputFormat::SURGE_WT;
    else
        return "--format " + value + ": not wav or wt";
    return {};
}

std::string set_frame(ExportOptions& options, const std::string& value) {
    int64_t frame = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), frame);
    if (error != std::errc() || end != value.data() + value.size() || !valid_frame(frame))
        return "--frame " + value + ": not a power of two from " + std::to_string(MIN_FRAME) + " to " +
               std::to_string(MAX_FRAME);
    options.frame = static_cast<int32_t>(frame);
    return {};
}

// Takes the option at words[i] (and its value); what is wrong, or empty.
std::string take_option(const std::vector<std::string>& words, size_t& i, CommandLine& line) {
    bool missing = false;
    if (auto value = option_value(words, i, "--output", "-o", missing)) {
        line.options.output_folder = *value;
        return missing || value->empty() ? "--output needs a folder" : "";
    }
    if (auto value = option_value(words, i, "--format", "", missing))
        return missing ? "--format needs wav or wt" : set_format(line.options, *value);
    if (auto value = option_value(words, i, "--frame", "", missing))
        return missing ? "--frame needs a number" : set_frame(line.options, *value);
    return "unknown option " + words[i];
}

}  // namespace

CommandLine parse_command_line(const std::vector<std::string>& words) {
    CommandLine line;
    bool only_files = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (only_files || word.size() < 2 || word[0] != '-') {
            line.options.files.push_back(word);
        } else if (word == "--") {
            only_files = true;
        } else if (word == "-h" || word == "--help") {
            line.request = Request::HELP;
            return line;
        } else if (word == "--version") {
            line.request = Request::VERSION;
            return line;
        } else if (std::string mistake = take_option(words, i, line); !mistake.empty()) {
            line.request = Request::MISTAKE;
            line.mistake = mistake;
            return line;
        }
    }
    if (line.options.files.empty()) {
        line.request = Request::MISTAKE;
        line.mistake = "no files given";
    }
    return line;
}
