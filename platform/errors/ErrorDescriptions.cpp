#include "platform/errors/ErrorDescriptions.h"

#include <algorithm>
#include <optional>

namespace velmora::errors {

namespace {

constexpr std::string_view kOwnError = "アプリケーション定義またはオブジェクト定義のエラーです。";

// The names that the "*"s of `pattern` stand for in `text`, and the rest of the text after the
// pattern; nothing when the text does not begin with the pattern.
struct Match {
    std::vector<std::string_view> names;
    std::string_view rest;
};

std::optional<Match> match(std::string_view pattern, std::string_view text) {
    Match m;
    std::size_t star = pattern.find('*');
    if (!text.starts_with(pattern.substr(0, star))) return std::nullopt;
    text.remove_prefix(std::min(star, pattern.size()));
    while (star != std::string_view::npos) {
        pattern.remove_prefix(star + 1);
        star = pattern.find('*');
        const std::string_view after = pattern.substr(0, star);
        // A name runs to the first place the wording goes on; a "*" at the end takes all the rest.
        const std::size_t end = after.empty() ? text.size() : text.find(after);
        if (end == std::string_view::npos || end == 0) return std::nullopt;
        m.names.push_back(text.substr(0, end));
        text.remove_prefix(end + after.size());
    }
    m.rest = text;
    return m;
}

std::string filled(std::string_view japanese, const std::vector<std::string_view>& names) {
    std::string out;
    std::size_t next = 0;
    for (char c : japanese) {
        if (c == '*' && next < names.size())
            out += names[next++];
        else
            out += c;
    }
    return out;
}

bool trimmable(char c) { return c == ' ' || c == ':' || c == '.' || c == ','; }

// What a thrower added after the wording, in full-width parentheses; its own parentheses are dropped.
std::string detail(std::string_view rest) {
    while (!rest.empty() && trimmable(rest.front())) rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    if (rest.size() >= 2 && rest.front() == '(' && rest.back() == ')' &&
        rest.find(')') == rest.size() - 1)
        rest = rest.substr(1, rest.size() - 2);
    if (rest.empty()) return {};
    return "（" + std::string(rest) + "）";
}

}  // namespace

const std::vector<Wording>& wordings() {
    static const std::vector<Wording> table = {
        {5, "Invalid procedure call or argument", "プロシージャの呼び出し、または引数が不正です。"},
        {6, "Overflow", "オーバーフローしました。"},
        {7, "Out of memory", "メモリが不足しています。"},
        {9, "Subscript out of range", "インデックスが有効範囲にありません。"},
        {13, "Type mismatch", "型が一致しません。"},
        {13, "Text cannot be written in Shift-JIS", "Shift-JIS で書けない文字があります。"},
        {51, "Internal error", "内部エラーが発生しました。"},
        {52, "Bad file name or number", "ファイル名またはファイル番号が不正です。"},
        {53, "File not found", "ファイルが見つかりません。"},
        {57, "Device I/O error", "デバイス I/O エラーが発生しました。"},
        {62, "Input past end of file", "ファイルの終わりを越えて読み込もうとしました。"},
        {75, "Path/File access error", "パスまたはファイルにアクセスできません。"},
        {76, "Path not found", "パスが見つかりません。"},
        {91, "Object variable or With block variable not set",
         "オブジェクト変数または With ブロック変数が設定されていません。"},
        {94, "Invalid use of Null", "Null の使い方が不正です。"},
        {321, "Invalid file format", "ファイル形式が不正です。"},
        {340, "Control array element doesn't exist", "コントロール配列の要素が存在しません。"},
        {340, "Control array element '*' doesn't exist", "コントロール配列の要素 '*' は存在しません。"},
        {453, "Can't find DLL entry point", "DLL のエントリ ポイントが見つかりません。"},
        {3000, "Database engine error", "データベース エンジンでエラーが発生しました。"},
        {3000, "Field of an unknown type in table *", "テーブル * に型の分からないフィールドがあります。"},
        {3001, "Invalid argument", "引数が不正です。"},
        {3010, "Table already exists", "テーブルは既に存在します。"},
        {3010, "Table '*' already exists", "テーブル '*' は既に存在します。"},
        {3021, "No current record", "カレント レコードがありません。"},
        {3022,
         "The changes you requested to the table were not successful because they would create duplicate values "
         "in the index, primary key, or relationship",
         "インデックス、主キー、またはリレーションシップで値が重複するため、テーブルを変更できませんでした。"},
        {3024, "Could not find file", "ファイルが見つかりません。"},
        {3024, "Could not find file '*'", "ファイル '*' が見つかりません。"},
        {3034, "You tried to commit or rollback a transaction without first beginning a transaction",
         "トランザクションを開始せずに、コミットまたはロールバックしようとしました。"},
        {3043, "Disk or network error", "ディスクまたはネットワークでエラーが発生しました。"},
        {3044, "Not a valid path", "有効なパスではありません。"},
        {3044, "'*' isn't a valid path", "'*' は有効なパスではありません。"},
        {3045, "Could not use the database; file already in use",
         "データベースを使用できません。ファイルは既に使用中です。"},
        {3051, "The database engine could not open the file",
         "データベース エンジンはファイルを開けませんでした。"},
        {3051, "The database engine could not open the file '*'",
         "データベース エンジンはファイル '*' を開けませんでした。"},
        {3058, "Index or primary key cannot contain a Null value",
         "インデックスまたは主キーに Null 値を入れることはできません。"},
        {3061, "Too few parameters. Expected 1", "パラメータが少なすぎます。1 個のパラメータが必要です。"},
        {3075, "Syntax error in query expression", "クエリ式に構文エラーがあります。"},
        {3075, "Syntax error in query expression. (empty SQL)", "クエリ式に構文エラーがあります。（SQL が空です）"},
        {3078, "Cannot find the input table or query", "入力テーブルまたはクエリが見つかりません。"},
        {3078, "Cannot find the input table or query '*'", "入力テーブルまたはクエリ '*' が見つかりません。"},
        {3125, "Not a valid name", "有効な名前ではありません。"},
        {3125, "'*' is not a valid name. (Names are UTF-8 and must be writable in CP932.)",
         "'*' は有効な名前ではありません。（名前は UTF-8 で、CP932 で書ける文字だけが使えます）"},
        {3125, "'*' is not a valid name", "'*' は有効な名前ではありません。"},
        {3163, "The field is too small to accept the amount of data you attempted to add",
         "フィールドが小さすぎるため、追加しようとしたデータを格納できません。"},
        {3204, "Database already exists", "データベースは既に存在します。"},
        {3264, "No field defined--cannot append TableDef or Index",
         "フィールドが定義されていないため、テーブルまたはインデックスを追加できません。"},
        {3265, "Item not found in this collection", "この名前の項目はコレクション内にありません。"},
        {3265, "Item not found in this collection. (no such parameter)",
         "この名前の項目はコレクション内にありません。（該当するパラメータがありません）"},
        {3265, "Item not found in this collection. (column *)", "この名前の項目はコレクション内にありません。（列 *）"},
        {3343, "Unrecognized database format", "データベースの形式を認識できません。"},
        {3343, "Unrecognized database format '*'", "データベース '*' の形式を認識できません。"},
        {3349, "Numeric field overflow", "数値フィールドでオーバーフローしました。"},
        {3367, "Cannot append. An object with that name already exists in the collection",
         "追加できません。同じ名前のオブジェクトが既にコレクション内にあります。"},
        {3420, "Object invalid or no longer set", "オブジェクトが無効か、既に設定されていません。"},
        {3420, "Object invalid or no longer set. (the database is closed)",
         "オブジェクトが無効か、既に設定されていません。（データベースは閉じられています）"},
        {3421, "Data type conversion error", "データ型の変換エラーです。"},
        {35600, "Index out of bounds", "インデックスが範囲を超えています。"},
        {35601, "Element not found", "要素が見つかりません。"},
        {35602, "Key is not unique in collection", "キーがコレクション内で一意ではありません。"},
    };
    return table;
}

std::string describe(int number, std::string_view text) {
    // Number 0 carries a whole message the program composed (a refused input file naming file and line).
    if (number == 0) return std::string(text);
    const Wording* plain = nullptr;
    for (const Wording& w : wordings()) {
        if (w.number != number) continue;
        if (!plain) plain = &w;
        if (match(w.japanese, text)) return std::string(text);
    }
    if (!plain) return text.starts_with(kOwnError) ? std::string(text) : std::string(kOwnError) + detail(text);
    // The longest wording that fits: "No current record. (closed)" before "No current record".
    const Wording* best = nullptr;
    std::optional<Match> found;
    for (const Wording& w : wordings()) {
        if (w.number != number || (best && std::string_view(w.english).size() <= std::string_view(best->english).size()))
            continue;
        if (auto m = match(w.english, text)) {
            best = &w;
            found = m;
        }
    }
    if (best) return filled(best->japanese, found->names) + detail(found->rest);
    return plain->japanese + detail(text);
}

}  // namespace velmora::errors
