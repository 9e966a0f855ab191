// Tests of the keyed store: lookup rules, the listing, and the file layout it writes and
// reads back, including the texts it must refuse.

#include "formats/KeyValueStore.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace {

const QString kHeader = QStringLiteral("#i2kCmd-store 1\r\n");

QString surrogate(char16_t unit)
{
    return QString(QChar(unit));
}

// The number and description of the error fn raises; fails the test when it raises none.
std::pair<int, QString> errorOf(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const RuntimeError &e) {
        return {e.number(), e.description()};
    }
    ADD_FAILURE() << "no RuntimeError raised";
    return {0, {}};
}

} // namespace

TEST(KeyValueStore, SavedFileRestoresAwkwardKeysAndValues)
{
    const std::vector<std::pair<QString, QString>> pairs = {
        {QStringLiteral("¬F5"), QStringLiteral("dir /w")},
        {QStringLiteral("\"¬Q\""), QStringLiteral("quoted key")},
        {QStringLiteral("  padded key  "), QStringLiteral("  padded value  ")},
        {QStringLiteral("a=b"), QStringLiteral("x=y==z")},
        {QStringLiteral("=lead"), QStringLiteral("=")},
        {QStringLiteral("back\\slash\\"), QStringLiteral("ends with backslash\\")},
        {QString(), QStringLiteral("empty key")},
        {QStringLiteral("crlf"), QStringLiteral("one\r\ntwo\r\n")},
        {QStringLiteral("lf"), QStringLiteral("\nalone\n")},
        {QStringLiteral("cr"), QStringLiteral("a\rb")},
        {QStringLiteral("key\r\nbreak"), QStringLiteral("key with a line break")},
        {QStringLiteral("escape-like"), QStringLiteral("\\r\\n\\=\\\\ literally")},
        {QStringLiteral("unicode"), QStringLiteral("Grüße, Ωμέγα, 日本語, 😀")},
        {QStringLiteral("Ärger"), QStringLiteral("non-ASCII key")},
        {QStringLiteral("empty value"), QString()},
        {QStringLiteral("nul"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
        {QStringLiteral("#not a comment"), QStringLiteral("#")},
        {QStringLiteral("lone surrogates"),
         surrogate(0xD800) + QStringLiteral("x") + surrogate(0xDC01)},
    };
    KeyValueStore store;
    for (const auto &[key, value] : pairs)
        store.SetValue(key, value);
    ASSERT_EQ(store.count(), qsizetype(pairs.size()));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("set.cf"));
    store.SaveFile(path);

    // The file is the documented layout: header, then one CR LF-ended line per pair.
    const QByteArray bytes = TextFile::readBytes(path);
    EXPECT_TRUE(bytes.startsWith("#i2kCmd-store 1\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), qsizetype(pairs.size()) + 1);
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.contains("\r\na\\=b=x=y==z\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nlone surrogates=\\uD800x\\uDC01\r\n"));
    // The text (a database's catalogue entry) is the file's content.
    EXPECT_EQ(TextFile::encode(store.text()), bytes);
    KeyValueStore fromText;
    fromText.LoadText(store.text());
    EXPECT_EQ(fromText.ListAll(), store.ListAll());

    KeyValueStore loaded;
    loaded.SetValue(QStringLiteral("stale"), QStringLiteral("replaced by the load"));
    loaded.LoadFile(path);
    EXPECT_EQ(loaded.count(), store.count());
    for (const auto &[key, value] : pairs)
        EXPECT_EQ(loaded.GetValue(key), value) << qPrintable(key);
    EXPECT_EQ(loaded.GetValue(QStringLiteral("stale")), KeyValueStore::kNotFound);
    EXPECT_EQ(loaded.ListAll(), store.ListAll());

    // Saving the loaded store gives the same bytes: the layout has one form per content.
    const QString again = dir.filePath(QStringLiteral("again.cf"));
    loaded.SaveFile(again);
    EXPECT_EQ(TextFile::readBytes(again), bytes);
}

TEST(KeyValueStore, LookupIgnoresLetterCase)
{
    KeyValueStore store;
    EXPECT_EQ(store.GetValue(QStringLiteral("anything")), KeyValueStore::kNotFound);
    EXPECT_EQ(KeyValueStore::kNotFound, QStringLiteral("[NOT FOUND]"));

    store.SetValue(QStringLiteral("Alias"), QStringLiteral("1"));
    EXPECT_EQ(store.GetValue(QStringLiteral("ALIAS")), QStringLiteral("1"));
    EXPECT_EQ(store.GetValue(QStringLiteral("alias")), QStringLiteral("1"));
    EXPECT_EQ(store.GetValue(QStringLiteral("Alias ")), KeyValueStore::kNotFound);

    // Another spelling replaces the value but keeps the first spelling.
    store.SetValue(QStringLiteral("aLIAS"), QStringLiteral("2"));
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.ListAll(), QStringLiteral("Alias = 2\r\n"));

    // Case folding beyond ASCII.
    store.SetValue(QStringLiteral("ÄRGER"), QStringLiteral("umlaut"));
    store.SetValue(QStringLiteral("ΣΟΦΊΑ"), QStringLiteral("greek"));
    EXPECT_EQ(store.GetValue(QStringLiteral("ärger")), QStringLiteral("umlaut"));
    EXPECT_EQ(store.GetValue(QStringLiteral("σοφία")), QStringLiteral("greek"));
    EXPECT_EQ(store.GetValue(QStringLiteral("¬f5")), KeyValueStore::kNotFound);

    store.DeleteKey(QStringLiteral("äRGER"));
    EXPECT_EQ(store.GetValue(QStringLiteral("ÄRGER")), KeyValueStore::kNotFound);
    store.DeleteKey(QStringLiteral("never there"));
    store.DeleteKey(QString());
    EXPECT_EQ(store.count(), 2);
    EXPECT_EQ(store.GetValue(QStringLiteral("alias")), QStringLiteral("2"));
}

TEST(KeyValueStore, ListAllSortsAndKeepsPairsOnOneLine)
{
    KeyValueStore store;
    EXPECT_EQ(store.ListAll(), QString());

    store.SetValue(QStringLiteral("b"), QStringLiteral("2"));
    store.SetValue(QStringLiteral("B2"), QStringLiteral("multi\r\nline\nvalue\r"));
    store.SetValue(QStringLiteral("a2"), QStringLiteral("x = y"));
    store.SetValue(QStringLiteral("A"), QStringLiteral("back\\slash"));
    store.SetValue(QStringLiteral("¬F5"), QStringLiteral("help"));
    store.SetValue(QString(), QStringLiteral("empty key"));
    store.SetValue(QStringLiteral("k\ney"), QString());
    EXPECT_EQ(store.ListAll(), QStringLiteral(" = empty key\r\n"
                                              "A = back\\slash\r\n"
                                              "a2 = x = y\r\n"
                                              "b = 2\r\n"
                                              "B2 = multi\\r\\nline\\nvalue\\r\r\n"
                                              "k\\ney = \r\n"
                                              "¬F5 = help\r\n"));
}

TEST(KeyValueStore, ReadsTextWrittenByOtherTools)
{
    KeyValueStore store;
    // LF line ends, blank and blank-looking lines, a final line without a line end, the
    // escapes, and a later duplicate in another case.
    store.LoadText(QStringLiteral("#i2kCmd-store 1\n"
                                  "\n"
                                  "  key with blanks = value with blanks \n"
                                  "   \t\n"
                                  "a\\=b=c=d\n"
                                  "esc=\\\\\\r\\n\\=\\u00AC\\u00e4\n"
                                  "\\r\\n=key of line breaks\r\n"
                                  "Dup=first\n"
                                  "=empty key\n"
                                  "DUP=second\r\n"
                                  "last=no line end"));
    EXPECT_EQ(store.count(), 7);
    EXPECT_EQ(store.GetValue(QStringLiteral("  key with blanks ")),
              QStringLiteral(" value with blanks "));
    EXPECT_EQ(store.GetValue(QStringLiteral("a=b")), QStringLiteral("c=d"));
    EXPECT_EQ(store.GetValue(QStringLiteral("esc")), QStringLiteral("\\\r\n=¬ä"));
    EXPECT_EQ(store.GetValue(QStringLiteral("\r\n")), QStringLiteral("key of line breaks"));
    EXPECT_EQ(store.GetValue(QString()), QStringLiteral("empty key"));
    EXPECT_EQ(store.GetValue(QStringLiteral("dup")), QStringLiteral("second"));
    EXPECT_TRUE(store.ListAll().contains(QStringLiteral("\r\nDUP = second\r\n")));
    EXPECT_EQ(store.GetValue(QStringLiteral("last")), QStringLiteral("no line end"));

    // A byte order mark before the header, and a header alone, give an empty store.
    store.LoadText(QChar(0xFEFF) + QStringLiteral("#i2kCmd-store 1"));
    EXPECT_EQ(store.count(), 0);

    // A file written in the Windows-1252 code page still loads.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("set.cf"));
    TextFile::save(path, QByteArray("#i2kCmd-store 1\r\n\xAC"
                                    "F5=caf\xE9\r\n"));
    store.LoadFile(path);
    EXPECT_EQ(store.GetValue(QStringLiteral("¬f5")), QStringLiteral("café"));
}

TEST(KeyValueStore, RejectsBrokenTextAndKeepsContent)
{
    KeyValueStore store;
    store.SetValue(QStringLiteral("Kept"), QStringLiteral("yes"));
    const QString before = store.ListAll();

    const std::vector<std::pair<QString, QString>> broken = {
        {QString(), QStringLiteral("line 1: missing header")},
        {QStringLiteral("a=b\r\n"), QStringLiteral("line 1: missing header")},
        {QStringLiteral("\r\n#i2kCmd-store 1\r\n"), QStringLiteral("line 1: missing header")},
        {QStringLiteral("#i2kCmd-store\r\n"), QStringLiteral("line 1: missing header")},
        {QStringLiteral("#i2kCmd-store 1 \r\n"), QStringLiteral("line 1: missing header")},
        {QStringLiteral("#i2kCmd-store 2\r\na=b\r\n"),
         QStringLiteral("unsupported store version 2")},
        {QStringLiteral("#i2kCmd-store 99999999999\r\n"),
         QStringLiteral("unsupported store version 99999999999")},
        {kHeader + QStringLiteral("a=1\r\nno separator\r\n"), QStringLiteral("line 3: no \"=\"")},
        {kHeader + QStringLiteral("a\\==\r\nkey\\=only\r\n"), QStringLiteral("line 3: no \"=\"")},
        {kHeader + QStringLiteral("\r\n\r\na=\\t\r\n"),
         QStringLiteral("line 4: unknown escape \\t")},
        {kHeader + QStringLiteral("a=b\\"), QStringLiteral("line 2: backslash at the end")},
        {kHeader + QStringLiteral("a\\"), QStringLiteral("line 2: backslash at the end")},
        {kHeader + QStringLiteral("a=b\\\r\n"), QStringLiteral("line 2: backslash at the end")},
        {kHeader + QStringLiteral("a=b\rc\r\n"), QStringLiteral("line 2: carriage return")},
        {kHeader + QStringLiteral("a=\\u12G4\r\n"), QStringLiteral("line 2: \\u needs four")},
        {kHeader + QStringLiteral("a=\\u12"), QStringLiteral("line 2: \\u needs four")},
    };
    for (const auto &[text, detail] : broken) {
        const auto [number, description] = errorOf([&, &text = text] { store.LoadText(text); });
        EXPECT_EQ(number, 321) << qPrintable(text);
        EXPECT_TRUE(description.startsWith(QStringLiteral("Invalid file format: ") + detail))
            << qPrintable(description) << " for " << qPrintable(text);
        EXPECT_EQ(store.ListAll(), before) << qPrintable(text);
    }

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("missing.cf"));
    EXPECT_EQ(errorOf([&] { store.LoadFile(missing); }).first, 53);
    const QString bad = dir.filePath(QStringLiteral("bad.cf"));
    TextFile::save(bad, "#i2kCmd-store 1\r\nfine=1\r\nbroken\r\n");
    EXPECT_EQ(errorOf([&] { store.LoadFile(bad); }).first, 321);
    EXPECT_EQ(store.ListAll(), before);
    // Saving into a folder that does not exist is an error too.
    EXPECT_EQ(
        errorOf([&] { store.SaveFile(dir.filePath(QStringLiteral("no/such/set.cf"))); }).first, 76);
}

// How long it takes is measured in bench/SettingsBench.cpp.
TEST(KeyValueStore, LoadsALargeFileWhole)
{
    constexpr int kPairs = 100000;
    QString text = kHeader;
    text.reserve(kPairs * 40);
    for (int i = 0; i < kPairs; ++i)
        text +=
            QStringLiteral("Key number %1=value %2 with an \\= and a \\\\\r\n").arg(i).arg(i * 7);

    KeyValueStore store;
    store.LoadText(text);
    EXPECT_EQ(store.count(), kPairs);
    EXPECT_EQ(store.GetValue(QStringLiteral("KEY NUMBER 99999")),
              QStringLiteral("value 699993 with an = and a \\"));
}

// Many keys set, replaced and deleted in turn (the index keeps erased places until it is
// rebuilt or compacted): the store always answers as a plain map of the same changes does.
TEST(KeyValueStore, ChurnAgreesWithAPlainMap)
{
    KeyValueStore store;
    std::map<QString, QString> model;
    quint32 seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int step = 0; step < 40000; ++step) {
        const QString key = QStringLiteral("Key%1").arg(next() % 3000);
        if (next() % 3 == 0) {
            store.DeleteKey(key.toUpper());
            model.erase(key.toLower());
        } else {
            const QString value = QString::number(step);
            store.SetValue(key, value);
            model[key.toLower()] = value;
        }
    }
    EXPECT_EQ(store.count(), qsizetype(model.size()));
    for (int k = 0; k < 3000; ++k) {
        const QString key = QStringLiteral("key%1").arg(k);
        const auto it = model.find(key);
        EXPECT_EQ(store.GetValue(key), it == model.end() ? KeyValueStore::kNotFound : it->second);
    }
    KeyValueStore reloaded;
    reloaded.LoadText(store.text());
    EXPECT_EQ(reloaded.text(), store.text());
    EXPECT_EQ(reloaded.count(), store.count());
}
