// The string table in one constant array, converted to Shift_JIS once on first use.
#include "platform/string_table.h"

#include <array>
#include <cstring>

#include "platform/cp932.h"

namespace vintorel {
namespace {

constexpr std::array<const char*, string_table_size> table = {
    /* 0 */ "Vintorel",
    /* 1 */
    "Vintorel\n"
    "Linux 版  バージョン " VINTOREL_VERSION "\n"
    "\n"
    "連絡先: Vintorel 開発チーム\n"
    "不具合の報告や要望はプロジェクトの課題一覧へどうぞ.",
    /* 2 */ "通知",
    /* 3 */ "確認",
    /* 4 */ "選択",
    /* 5 */ "エラー",
    /* 6 */ "バージョン情報",
    /* 7 */ "[挿入]",
    /* 8 */ "[上書]",
    /* 9 */ "テキストファイル",
    /* 10 */ "全てのファイル",
    /* 11 */ "これ以上の項目は作成できません.",
    /* 12 */ "すでに同名のものが存在します.",
    /* 13 */ "'['と']'の文字は使用できません.\nまた、先頭や最後に空白を置くことはできません.",
    /* 14 */ "','の文字は使用できません.",
    /* 15 */
    "256色を超える表示色環境でなければ続行できません.\n"
    "ディスプレイモードを切り替えてからOKをクリックして下さい.",
    /* 16 */ "これ以降テキストは一致しています.",
    /* 17 */
    "以下のものに限り、変更した設定は次回の起動時から有効になります.\n\n"
    "・数値\n・セーフモードスイッチ\n・色\n・フォント名",
    /* 18 */ "ミリ秒で全ての全角文字の描画が完了しました.",
    /* 19 */ "新規テキストを開きますか?",
    /* 20 */ "このテキストの編集をやり直しますか?",
    /* 21 */ "このテキストを保存しますか?",
    /* 22 */ "文字コードセット/改行コード種が変更されていますがよろしいですか?",
    /* 23 */ "削除しますか?",
    /* 24 */ "テキスト全体を文字列置換しますか?",
    /* 25 */ "選択範囲を文字列置換しますか?",
    /* 26 */ "カーソル以前を文字列置換しますか?",
    /* 27 */ "カーソル以降を文字列置換しますか?",
    /* 28 */ "バッファが一杯です. バッファをクリアして処理を続行しますか?",
    /* 29 */ "システムエラーが発生しました.",
    /* 30 */ "メモリの確保に失敗しました.",
    /* 31 */ "ファイルの読み書きに失敗しました.",
    /* 32 */ "DirectDraw(DirectX 6.0以上)がインストールされていません.",
    /* 33 */ "256色を超える表示色環境でなければ実行できません.",
    /* 34 */
    "ビデオカードのDirectDraw機能が以下の全てを満たしていません.\n\n"
    "・単純転送\n・塗りつぶし\n・透明色\n・透過的な転送",
    /* 35 */ "DirectDraw処理でエラーが発生しました.",
    /* 36 */ "指定されたフォントファイルに問題があります.",
    // Saving that cannot finish tells where the text is; a file changed by
    // another program is not overwritten without asking.
    /* 37 */ "ファイルに保存できませんでした. テキスト全体を次のファイルに残してあります.",
    /* 38 */ "このファイルは開いた後に他のプログラムによって変更されています. 上書きしますか?",
    /* 39 */
    "ファイルが他のプログラムによって書き換えられたため、編集していない行を読めません.\n"
    "編集した行を行番号付きで次のファイルに保存しました.",
    /* 40 */
    "このファイルにはShift_JISで表せない文字を含む行があります.\n"
    "その行を編集すると、表せない文字は失われます. 編集していない行はそのまま保存されます.",
    /* 41 */ "編集できないほど長い行があるため、読み取り専用で開きました.",
    // A second start whose running editor does not answer says so and offers
    // to start on its own.
    /* 42 */
    "起動しているエディタが応答しません. このエディタを単独で起動しますか?\n"
    "(キャンセルを選ぶと応答を待ち続けます)",
    // Shown in the version box above the folder the settings files are in.
    /* 43 */ "設定ファイルの場所:",
    // The box shown when a command waits for a large file to be indexed; its
    // Cancel closes that text.
    /* 44 */ "ファイルを読み込んでいます. キャンセルを選ぶとこのファイルを閉じます.",
};

const std::array<byte_string, string_table_size>& sjis_table() {
  static const std::array<byte_string, string_table_size> converted = [] {
    std::array<byte_string, string_table_size> out;
    for (int i = 0; i < string_table_size; ++i) {
      if (!utf8_to_sjis_string(table[i], out[i])) out[i].assign(1, '?');
    }
    return out;
  }();
  return converted;
}

}  // namespace

const byte_string& load_string(int id) {
  static const byte_string missing = "?";
  if (id < 0 || id >= string_table_size) return missing;
  return sjis_table()[id];
}

std::size_t load_string(int id, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  const byte_string& text = load_string(id);
  // Walk whole characters so that a cut never leaves a lone lead byte.
  std::size_t length = 0;
  while (length < text.size()) {
    std::size_t step = is_lead_byte(static_cast<unsigned char>(text[length])) ? 2 : 1;
    if (length + step > size - 1 || length + step > text.size()) break;
    length += step;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

}  // namespace vintorel
