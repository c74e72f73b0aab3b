// What an error box says for each run-time error the program raises: the number, a blank and the
// Japanese description, with the thrower's detail (a path, a name) kept.
#include <gtest/gtest.h>

#include <string>

#include "platform/errors/ErrorDescriptions.h"
#include "platform/errors/RunTimeError.h"
#include "platform/ui/TestUi.h"

namespace velmora::ui {
namespace {

std::string boxText(const RunTimeError& e) {
    TestUi ui;
    ui.answer(Answer::Ok);
    showRunTimeError(e, "Error: frmMapMain (ShowTableViewDialog)");
    return ui.boxes().at(0).text;
}

TEST(ErrorDescriptions, TheBoxShowsTheJapaneseDescription) {
    struct Case {
        int number;
        std::string thrown;
        std::string shown;
    };
    const Case cases[] = {
        // The classic runtime's errors, as thrown throughout the program.
        {5, "Invalid procedure call or argument", "5 プロシージャの呼び出し、または引数が不正です。"},
        {6, "Overflow", "6 オーバーフローしました。"},
        {7, "Out of memory", "7 メモリが不足しています。"},
        {9, "Subscript out of range", "9 インデックスが有効範囲にありません。"},
        {13, "Type mismatch", "13 型が一致しません。"},
        {51, "Internal error", "51 内部エラーが発生しました。"},
        {52, "Bad file name or number", "52 ファイル名またはファイル番号が不正です。"},
        {53, "File not found", "53 ファイルが見つかりません。"},
        {57, "Device I/O error", "57 デバイス I/O エラーが発生しました。"},
        {62, "Input past end of file", "62 ファイルの終わりを越えて読み込もうとしました。"},
        {75, "Path/File access error", "75 パスまたはファイルにアクセスできません。"},
        {76, "Path not found", "76 パスが見つかりません。"},
        {91, "Object variable or With block variable not set",
         "91 オブジェクト変数または With ブロック変数が設定されていません。"},
        {35600, "Index out of bounds", "35600 インデックスが範囲を超えています。"},
        {35601, "Element not found", "35601 要素が見つかりません。"},
        {35602, "Key is not unique in collection", "35602 キーがコレクション内で一意ではありません。"},
        // The work databases' errors.
        {3421, "Data type conversion error. (KEY)", "3421 データ型の変換エラーです。（KEY）"},
        {3349, "Numeric field overflow. (N)", "3349 数値フィールドでオーバーフローしました。（N）"},
        {3022,
         "The changes you requested to the table were not successful because they would create duplicate values "
         "in the index, primary key, or relationship. (UNIQUE constraint failed: t.k)",
         "3022 インデックス、主キー、またはリレーションシップで値が重複するため、テーブルを変更できませんでした。"
         "（UNIQUE constraint failed: t.k）"},
        {3420, "Object invalid or no longer set. (the database is closed)",
         "3420 オブジェクトが無効か、既に設定されていません。（データベースは閉じられています）"},
        {3075, "Syntax error in query expression. (empty SQL)", "3075 クエリ式に構文エラーがあります。（SQL が空です）"},
        {3075, "Syntax error in query expression. (near \"x\") in: SELECT x",
         "3075 クエリ式に構文エラーがあります。（(near \"x\") in: SELECT x）"},
        // Names inside the wording stay where the Japanese sentence puts them.
        {3024, "Could not find file '/data/x.mdb'.", "3024 ファイル '/data/x.mdb' が見つかりません。"},
        {3010, "Table 'Link' already exists.", "3010 テーブル 'Link' は既に存在します。"},
        {3078, "Cannot find the input table or query 'Node'.", "3078 入力テーブルまたはクエリ 'Node' が見つかりません。"},
        {340, "Control array element '7' doesn't exist", "340 コントロール配列の要素 '7' は存在しません。"},
        {3125, "'a|b' is not a valid name. (Names are UTF-8 and must be writable in CP932.)",
         "3125 'a|b' は有効な名前ではありません。（名前は UTF-8 で、CP932 で書ける文字だけが使えます）"},
        {3265, "Item not found in this collection. (column 4)", "3265 この名前の項目はコレクション内にありません。（列 4）"},
        // A detail after the wording follows in parentheses.
        {321, "Invalid file format: /data/t.shp", "321 ファイル形式が不正です。（/data/t.shp）"},
        {53, "File not found: /data/t.dbf", "53 ファイルが見つかりません。（/data/t.dbf）"},
        {13, "Text cannot be written in Shift-JIS: 𠮷野家", "13 Shift-JIS で書けない文字があります。（𠮷野家）"},
        {75, "Path/File access error (/p/x.mdb: Permission denied)",
         "75 パスまたはファイルにアクセスできません。（/p/x.mdb: Permission denied）"},
        // A text in no known wording is the detail of the number's description.
        {53, "/opt/v/libOstrand.so: cannot open shared object file", "53 ファイルが見つかりません。（/opt/v/libOstrand.so: cannot open shared object file）"},
        {453, "/opt/v/libOstrand.so: undefined symbol: Ostrand",
         "453 DLL のエントリ ポイントが見つかりません。（/opt/v/libOstrand.so: undefined symbol: Ostrand）"},
        {51, "basic_string::_M_create", "51 内部エラーが発生しました。（basic_string::_M_create）"},
        // A number without a description of its own.
        {12345, "something", "12345 アプリケーション定義またはオブジェクト定義のエラーです。（something）"},
        {12345, "", "12345 アプリケーション定義またはオブジェクト定義のエラーです。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.thrown);
        const RunTimeError e(c.number, c.thrown);
        EXPECT_EQ(boxText(e), c.shown);
        EXPECT_EQ(std::string(e.what()), e.description());
        // Raised again with its own description, it says the same.
        EXPECT_EQ(RunTimeError(e.number(), e.description()).description(), e.description());
    }
}

TEST(ErrorDescriptions, EveryWordingReadsAsItsOwnJapaneseText) {
    for (const errors::Wording& w : errors::wordings()) {
        SCOPED_TRACE(w.english);
        std::string english = w.english, japanese = w.japanese;
        for (auto* s : {&english, &japanese})
            for (std::size_t at; (at = s->find('*')) != std::string::npos;) s->replace(at, 1, "N1");
        EXPECT_EQ(errors::describe(w.number, english), japanese);
        if (!english.ends_with("N1")) {
            EXPECT_EQ(errors::describe(w.number, english + "."), japanese);
        }
        EXPECT_EQ(errors::describe(w.number, japanese), japanese);
    }
}

}  // namespace
}  // namespace velmora::ui
