// Random recorded edits, undos and redos against a plain list of the texts the document
// has been through.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/TextDocument.h"
#include "support/TestSupport.h"

namespace {

// The texts that undo and redo walk through: at most 25 steps back.
struct StateList {
    std::vector<std::string> states{std::string()};
    size_t position = 0;

    void Record(const std::string& text)
    {
        states.resize(position + 1);
        states.push_back(text);
        if (states.size() > 26)
            states.erase(states.begin());
        position = states.size() - 1;
    }
    const std::string& Current() const { return states[position]; }
    bool CanUndo() const { return position > 0; }
    bool CanRedo() const { return position + 1 < states.size(); }
};

char Fold(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Matches(const std::string& text, size_t at, const std::string& pattern, bool matchCase)
{
    for (size_t k = 0; k < pattern.size(); k++) {
        char a = text[at + k], b = pattern[k];
        if (matchCase ? a != b : Fold(a) != Fold(b))
            return false;
    }
    return true;
}

struct Generator {
    std::mt19937 rng;
    explicit Generator(unsigned seed) : rng(seed) {}

    int Below(int n) { return n > 0 ? static_cast<int>(rng() % n) : 0; }
    bool Chance(int percent) { return Below(100) < percent; }

    std::string Bytes(int maxLength)
    {
        static const char alphabet[] = "aAbBc \t\r\r\xE9\xC9\x80\xFF";
        int length = 1 + Below(maxLength);
        std::string s;
        for (int i = 0; i < length; i++)
            s += alphabet[Below(sizeof(alphabet) - 1)];
        return s;
    }
};

struct HistoryModel : testing::Test {
    CTextDocument doc{nullptr, nullptr, nullptr};
    StateList model;
    Generator gen{20261208};

    std::string Text() const { return model.Current(); }
    int Length() const { return static_cast<int>(model.Current().size()); }

    // An edit that the document must make and record as one step, or refuse and forget.
    void Expect(int result, bool valid, const std::string& after)
    {
        ASSERT_EQ(valid ? 1 : 0, result);
        if (valid)
            model.Record(after);
    }

    void Insert()
    {
        std::string bytes = gen.Bytes(gen.Chance(10) ? 60 : 6);
        int index = gen.Below(Length() + 1);
        bool valid = true;
        if (gen.Chance(8)) {
            bytes[gen.Below(static_cast<int>(bytes.size()))] = 0;
            valid = false;
        } else if (gen.Chance(5)) {
            index = Length() + 1 + gen.Below(3);
            valid = false;
        }
        std::string after = Text();
        if (valid)
            after.insert(index, bytes);
        Expect(doc.InsertWithUndo(index, bytes.data(), static_cast<int>(bytes.size())), valid,
               after);
    }

    void Remove()
    {
        int index = gen.Below(Length() + 1);
        int count = 1 + gen.Below(gen.Chance(10) ? 80 : 8);
        bool valid = index + count <= Length();
        std::string after = Text();
        if (valid)
            after.erase(index, count);
        Expect(doc.RemoveWithUndo(index, count), valid, after);
    }

    void Replace()
    {
        int index = gen.Below(Length() + 1);
        int oldCount = gen.Below(10);
        std::string bytes = gen.Chance(15) ? std::string() : gen.Bytes(10);
        bool valid = index + oldCount <= Length() && oldCount + bytes.size() > 0;
        std::string after = Text();
        if (valid)
            after.replace(index, oldCount, bytes);
        Expect(doc.ReplaceWithUndo(index, oldCount, bytes.data(), static_cast<int>(bytes.size())),
               valid, after);
    }

    void Move()
    {
        int count = 1 + gen.Below(10);
        int source = gen.Below(Length() + 1);
        int target = gen.Below(Length() + 1);
        bool valid = source + count <= Length() && !(source < target && target < source + count);
        std::string after = Text();
        if (valid) {
            std::string moved = after.substr(source, count);
            after.erase(source, count);
            after.insert(source < target ? target - count : target, moved);
        }
        Expect(doc.MoveWithUndo(source, target, count), valid, after);
    }

    void ReplaceAll()
    {
        if (Length() == 0)
            return;
        std::string pattern = Text().substr(gen.Below(Length()), 1 + gen.Below(3));
        bool matchCase = gen.Chance(50);
        std::string bytes = gen.Chance(20) ? std::string() : gen.Bytes(5);
        std::vector<int> at;
        std::string after;
        size_t i = 0;
        const std::string text = Text();
        while (i < text.size()) {
            if (i + pattern.size() <= text.size() && Matches(text, i, pattern, matchCase)) {
                at.push_back(static_cast<int>(i));
                after += bytes;
                i += pattern.size();
            } else {
                after += text[i++];
            }
        }
        Expect(doc.ReplaceAllWithUndo(at.data(), static_cast<int>(at.size()),
                                      static_cast<int>(pattern.size()), bytes.data(),
                                      static_cast<int>(bytes.size()), matchCase),
               true, after);
    }

    void Undo()
    {
        bool could = model.CanUndo();
        if (could)
            model.position--;
        ASSERT_EQ(could && model.CanUndo() ? 1 : 0, doc.Undo());
    }

    void Redo()
    {
        bool could = model.CanRedo();
        if (could)
            model.position++;
        ASSERT_EQ(could && model.CanRedo() ? 1 : 0, doc.Redo());
    }

    void Check()
    {
        ASSERT_EQ(model.Current(), DocumentText(&doc));
        ASSERT_EQ(model.CanUndo(), doc.CanUndo() == 1);
        ASSERT_EQ(model.CanRedo(), doc.CanRedo() == 1);
        ASSERT_TRUE(LineTableMatchesText(&doc));
    }
};

TEST_F(HistoryModel, RandomEditsUndosAndRedosMatchTheStateList)
{
    for (int step = 0; step < 6000; step++) {
        SCOPED_TRACE(testing::Message() << "step " << step);
        int kind = gen.Below(100);
        // A long text only shrinks until it is short again, so that checks stay quick.
        if (Length() > 600 && (kind < 22 || (kind >= 58 && kind < 64)))
            kind = 22;
        if (kind < 22)
            Insert();
        else if (kind < 34)
            Remove();
        else if (kind < 48)
            Replace();
        else if (kind < 58)
            Move();
        else if (kind < 64)
            ReplaceAll();
        else if (kind < 84)
            Undo();
        else
            Redo();
        ASSERT_NO_FATAL_FAILURE(Check());
    }
}

}  // namespace
