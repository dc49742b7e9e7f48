#include "integration/Registrar.h"

#include "integration/ModuleText.h"

#include <shlwapi.h>

#include <cctype>
#include <memory>
#include <vector>

namespace integration {

namespace {

struct ScriptKey {
    std::string name;
    bool noRemove = false;
    bool forceRemove = false;
    bool hasDefault = false;
    std::string defaultValue;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<ScriptKey> subkeys;
};

class ScriptParser {
public:
    explicit ScriptParser(const std::string& text) : text_(text) {}

    // Reads "root { entries }"; answers false for anything else.
    bool ParseRoot(ScriptKey& root)
    {
        if (!Word(root.name) || !Expect('{') || !Entries(root) || !Expect('}'))
            return false;
        SkipBlanks();
        return at_ == text_.size();
    }

private:
    void SkipBlanks()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }

    bool Peek(char c)
    {
        SkipBlanks();
        return at_ < text_.size() && text_[at_] == c;
    }

    bool Expect(char c)
    {
        if (!Peek(c))
            return false;
        ++at_;
        return true;
    }

    // A bare word or a 'quoted' text.
    bool Word(std::string& word)
    {
        SkipBlanks();
        word.clear();
        if (at_ < text_.size() && text_[at_] == '\'') {
            for (++at_; at_ < text_.size(); ++at_) {
                if (text_[at_] == '\'') {
                    if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                        word += '\'';
                        ++at_;
                        continue;
                    }
                    ++at_;
                    return true;
                }
                word += text_[at_];
            }
            return false;
        }
        // A class identifier in braces is one word: {0965D61E-...}.
        if (at_ + 1 < text_.size() && text_[at_] == '{' && std::isxdigit(static_cast<unsigned char>(text_[at_ + 1]))) {
            const std::string::size_type close = text_.find('}', at_);
            if (close == std::string::npos)
                return false;
            word = text_.substr(at_, close + 1 - at_);
            at_ = close + 1;
            return true;
        }
        while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_])) &&
               text_[at_] != '{' && text_[at_] != '}' && text_[at_] != '=' && text_[at_] != '\'')
            word += text_[at_++];
        return !word.empty();
    }

    // "= s 'text'"
    bool StringValue(std::string& value)
    {
        std::string type;
        return Expect('=') && Word(type) && type == "s" && Peek('\'') && Word(value);
    }

    bool Entries(ScriptKey& parent)
    {
        while (!Peek('}')) {
            if (at_ >= text_.size())
                return false;
            std::string word;
            if (!Word(word))
                return false;
            if (EqualsNoCase(word, "val")) {
                std::string name, value;
                if (!Word(name) || !StringValue(value))
                    return false;
                parent.values.emplace_back(name, value);
                continue;
            }
            ScriptKey key;
            if (EqualsNoCase(word, "NoRemove") || EqualsNoCase(word, "ForceRemove")) {
                key.noRemove = EqualsNoCase(word, "NoRemove");
                key.forceRemove = !key.noRemove;
                if (!Word(word))
                    return false;
            }
            key.name = word;
            if (Peek('=')) {
                if (!StringValue(key.defaultValue))
                    return false;
                key.hasDefault = true;
            }
            if (Expect('{') && (!Entries(key) || !Expect('}')))
                return false;
            parent.subkeys.push_back(std::move(key));
        }
        return true;
    }

    const std::string& text_;
    std::string::size_type at_ = 0;
};

std::string Substitute(std::string value, const std::string& modulePath)
{
    static const std::string kModule = "%MODULE%";
    for (std::string::size_type at = value.find(kModule); at != std::string::npos;
         at = value.find(kModule, at + modulePath.size()))
        value.replace(at, kModule.size(), modulePath);
    return value;
}

bool SetString(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteTree(HKEY parent, const std::string& name)
{
    const DWORD result = SHDeleteKeyA(parent, name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool Register(HKEY parent, const ScriptKey& entry, const std::string& modulePath)
{
    if (entry.forceRemove && !DeleteTree(parent, entry.name))
        return false;
    HKEY key;
    if (RegCreateKeyExA(parent, entry.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = !entry.hasDefault || SetString(key, nullptr, Substitute(entry.defaultValue, modulePath));
    for (const auto& value : entry.values)
        ok = ok && SetString(key, value.first.c_str(), Substitute(value.second, modulePath));
    for (const ScriptKey& sub : entry.subkeys)
        ok = ok && Register(key, sub, modulePath);
    RegCloseKey(key);
    return ok;
}

bool Unregister(HKEY parent, const ScriptKey& entry)
{
    if (!entry.noRemove)
        return DeleteTree(parent, entry.name);
    HKEY key;
    const LONG opened = RegOpenKeyExA(parent, entry.name.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const ScriptKey& sub : entry.subkeys)
        ok = Unregister(key, sub) && ok;
    RegCloseKey(key);
    return ok;
}

}  // namespace

HRESULT ApplyRegistrarScript(const std::string& script, const std::string& modulePath, bool registering)
{
    ScriptKey root;
    if (!ScriptParser(script).ParseRoot(root) || !EqualsNoCase(root.name, "HKCR"))
        return E_FAIL;
    bool ok = true;
    for (const ScriptKey& entry : root.subkeys)
        ok = (registering ? Register(HKEY_CLASSES_ROOT, entry, modulePath) : Unregister(HKEY_CLASSES_ROOT, entry)) && ok;
    return ok ? S_OK : E_FAIL;
}

}  // namespace integration
