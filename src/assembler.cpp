#include "assembler.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "loader.hpp"
#include "machine.hpp"

namespace {

struct Token {
    std::string text;
    int column;
};

struct Line {
    int number;
    std::vector<Token> tokens;
};

// Splits a line into words at spaces, tabs and commas, dropping any comment.
std::vector<Token> tokenize(std::string_view line) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size() && line[i] != ';' && line[i] != '#') {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !std::strchr(" \t,\r;#", line[i])) ++i;
        tokens.push_back({std::string(line.substr(start, i - start)), static_cast<int>(start) + 1});
    }
    return tokens;
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::optional<int> opcodeNamed(const std::string& word) {
    const std::string name = upper(word);
    for (std::size_t i = 0; i < OPCODES.size(); ++i) {
        if (OPCODES[i].name == name) return static_cast<int>(i);
    }
    return std::nullopt;
}

bool isName(std::string_view s) {
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

bool isNumber(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number that fits a byte, 0 to 255.
std::optional<int> byteNumber(const std::string& s) {
    if (!isNumber(s) || s.size() > 3 || std::stoi(s) > 255) return std::nullopt;
    return std::stoi(s);
}

// Which of an operation's two positions holds a label key.
bool isKeyPosition(Operands shape, int position) {
    return (shape == Operands::K && position == 0) || (shape == Operands::AK && position == 1);
}

std::string field(int value, int width) {
    std::string s(static_cast<std::size_t>(width), '0');
    for (int bit = 0; bit < width; ++bit) {
        if (value >> bit & 1) s[static_cast<std::size_t>(width - 1 - bit)] = '1';
    }
    return s;
}

class Assembler {
public:
    Assembled run(std::string_view source) {
        readLines(source);
        collectNames();
        assignKeys();
        for (const Line& line : lines_) encode(line);
        std::stable_sort(result_.errors.begin(), result_.errors.end(),
                         [](const AsmError& x, const AsmError& y) { return std::tie(x.line, x.column) < std::tie(y.line, y.column); });
        if (!result_.errors.empty()) result_.bits.clear();
        return result_;
    }

private:
    std::vector<Line> lines_;
    std::map<std::string, int> cells_;
    std::map<std::string, int> labelKeys_;        // @name -> key
    std::set<std::string> labelsDefined_;
    struct NameUse {
        std::string name;
        int line;
        int column;
    };
    std::vector<NameUse> labelOrder_;  // label names in order of first use
    std::set<int> numericKeys_;
    Assembled result_;
    bool tailSeen_ = false;

    void error(const Line& line, int column, std::string message) {
        result_.errors.push_back({line.number, column, std::move(message)});
    }

    void readLines(std::string_view source) {
        int number = 0;
        std::size_t start = 0;
        while (start <= source.size()) {
            std::size_t end = source.find('\n', start);
            if (end == std::string_view::npos) end = source.size();
            ++number;
            auto tokens = tokenize(source.substr(start, end - start));
            if (!tokens.empty()) lines_.push_back({number, std::move(tokens)});
            if (end == source.size()) break;
            start = end + 1;
        }
    }

    void collectNames() {
        for (const Line& line : lines_) {
            const auto& t = line.tokens;
            if (upper(t[0].text) == ".CELL") {
                cellDirective(line);
                continue;
            }
            const auto opcode = opcodeNamed(t[0].text);
            if (!opcode) continue;
            const Operands shape = OPCODES[static_cast<std::size_t>(*opcode)].operands;
            for (std::size_t i = 1; i < t.size() && i <= 2; ++i) {
                const std::string& word = t[i].text;
                if (!isKeyPosition(shape, static_cast<int>(i - 1))) continue;
                if (word.size() > 1 && word[0] == '@') {
                    const std::string name = word.substr(1);
                    if (*opcode == OP_LABEL && !labelsDefined_.insert(name).second) {
                        error(line, t[i].column, "duplicate label '" + word + "'");
                    }
                    if (!labelKeys_.count(name)) {
                        labelKeys_[name] = -1;
                        labelOrder_.push_back({name, line.number, t[i].column});
                    }
                } else if (const auto key = byteNumber(word)) {
                    numericKeys_.insert(*key);
                }
            }
        }
    }

    // Names take the lowest keys that no numeric key in the listing uses.
    void assignKeys() {
        int next = 0;
        for (const NameUse& use : labelOrder_) {
            while (next < 256 && numericKeys_.count(next)) ++next;
            if (next < 256) {
                labelKeys_[use.name] = next++;
            } else {
                result_.errors.push_back({use.line, use.column, "too many label keys: '@" + use.name + "' would need a 257th"});
            }
        }
    }

    std::optional<int> value(const Line& line, const Token& token, bool keyPosition) {
        const std::string& word = token.text;
        if (isNumber(word)) {
            if (const auto number = byteNumber(word)) return number;
            error(line, token.column, "value " + word + " out of range 0-255");
            return std::nullopt;
        }
        if (word.size() > 1 && word[0] == '@' && isName(word.substr(1))) {
            if (!keyPosition) {
                error(line, token.column, "label name '" + word + "' where a cell or a number is expected");
                return std::nullopt;
            }
            const std::string name = word.substr(1);
            if (!labelsDefined_.count(name)) {
                error(line, token.column, "unknown label '" + word + "'");
                return std::nullopt;
            }
            const int key = labelKeys_[name];
            return key >= 0 ? std::optional<int>(key) : std::nullopt;
        }
        if (isName(word)) {
            const auto found = cells_.find(word);
            if (found == cells_.end()) {
                error(line, token.column, "unknown name '" + word + "'");
                return std::nullopt;
            }
            return found->second;
        }
        error(line, token.column, "invalid operand '" + word + "'");
        return std::nullopt;
    }

    void cellDirective(const Line& line) {
        const auto& t = line.tokens;
        if (t.size() != 3) {
            error(line, t[0].column, ".cell takes a name and a number");
            return;
        }
        if (!isName(t[1].text)) {
            error(line, t[1].column, "invalid cell name '" + t[1].text + "'");
            return;
        }
        const auto number = byteNumber(t[2].text);
        if (!number) {
            error(line, t[2].column, "cell number '" + t[2].text + "' out of range 0-255");
            return;
        }
        if (!cells_.emplace(t[1].text, *number).second) {
            error(line, t[1].column, "duplicate cell name '" + t[1].text + "'");
        }
    }

    void tailDirective(const Line& line) {
        const auto& t = line.tokens;
        const bool digits = t.size() == 2 && t[1].text.size() <= 20 &&
                            t[1].text.find_first_not_of("01") == std::string::npos;
        if (!digits) {
            error(line, t[0].column, ".tail takes 1 to 20 digits 0 and 1");
            return;
        }
        result_.bits += t[1].text;
        tailSeen_ = true;
    }

    void encode(const Line& line) {
        const auto& t = line.tokens;
        const std::string head = upper(t[0].text);
        if (head == ".CELL") return;  // read with the names
        if (head == ".TAIL") return tailDirective(line);
        const auto opcode = opcodeNamed(t[0].text);
        if (!opcode) {
            error(line, t[0].column, "unknown mnemonic '" + t[0].text + "'");
            return;
        }
        if (tailSeen_) error(line, t[0].column, "instruction after .tail");
        const Operands shape = OPCODES[static_cast<std::size_t>(*opcode)].operands;
        const int given = static_cast<int>(t.size()) - 1;
        const int needed = operandCount(shape);
        if (given < needed || given > 2) {
            const std::string expected = needed == 2 ? "2" : std::to_string(needed) + " to 2";
            error(line, t[0].column,
                  std::string(OPCODES[static_cast<std::size_t>(*opcode)].name) + " takes " + expected +
                      " operands, not " + std::to_string(given));
            return;
        }
        int args[2] = {0, 0};
        bool ok = true;
        for (int i = 0; i < given; ++i) {
            const auto v = value(line, t[static_cast<std::size_t>(i) + 1], isKeyPosition(shape, i));
            if (v) args[i] = *v;
            else ok = false;
        }
        if (ok) result_.bits += instructionBits(*opcode, args[0], args[1]);
    }
};

}  // namespace

Assembled assemble(std::string_view source) { return Assembler().run(source); }

std::string instructionBits(int opcode, int arg1, int arg2) {
    return field(opcode, 5) + field(arg1, 8) + field(arg2, 8);
}
