// Reasons for failed file operations, in the user's language.

#include "platform/ErrnoReason.h"

#include <cerrno>

namespace vorn {

std::string ErrnoReason(int err, bool writing) {
    switch (err) {
    // The file and its place.
    case ENOENT:
        return "ファイルまたはフォルダーが見つかりません";
    case EISDIR:
        return "フォルダーです";
    case ENOTDIR:
        return "途中にフォルダーではないものがある名前です";
    case EEXIST:
        return "同じ名前のファイルがすでにあります";
    case ENOTEMPTY:
        return "フォルダーが空ではありません";
    case ELOOP:
        return "シンボリックリンクが多すぎるか、循環しています";
    case ENAMETOOLONG:
        return "ファイル名が長すぎます";
    case EXDEV:
        return "別のディスクにまたがる操作はできません";
    case EMLINK:
        return "リンクが多すぎます";
    case ETXTBSY:
        return "実行中のプログラムのファイルです";
    case EBUSY:
        return "ファイルまたはデバイスが使用中です";
    case ESPIPE:
        return "位置を指定して読み書きできないファイルです";
    case EPIPE:
        return "読み手のいないパイプです";
    // Permission.
    case EACCES:
    case EPERM:
        return writing ? "書き込みが許可されていません" : "読み込みが許可されていません";
    case EROFS:
        return "読み取り専用の場所です";
    // Room on the disk.
    case ENOSPC:
        return "ディスクがいっぱいです";
    case EDQUOT:
        return "ディスクの使用量の上限（クォータ）を超えています";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EOVERFLOW:
        return "ファイルが大きすぎて扱えません";
    // The disk, the device, the network.
    case EIO:
        return "ディスクの読み書きでエラーが発生しました";
    case ENXIO:
        return "デバイスが見つからないか、接続されていません";
    case ENODEV:
        return "この操作に対応していないデバイスです";
    case ENOMEDIUM:
        return "ディスクやメディアが入っていません";
    case EMEDIUMTYPE:
        return "ディスクやメディアの種類が正しくありません";
    case EUCLEAN:
        return "ファイルシステムが壊れています";
    case EREMOTEIO:
        return "ネットワーク上のディスクの読み書きでエラーが発生しました";
    case ESTALE:
        return "ネットワーク上のファイルが使えなくなりました（開き直してください）";
    case ENOLINK:
    case ENOTCONN:
    case ESHUTDOWN:
    case ECONNRESET:
    case ECONNABORTED:
    case ECONNREFUSED:
    case ECOMM:
        return "ネットワーク上の相手との接続が切れています";
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ENONET:
    case EHOSTDOWN:
    case EHOSTUNREACH:
        return "ネットワークにつながりません";
    case ETIMEDOUT:
    case ETIME:
        return "時間内に応答がありませんでした";
    case EPROTO:
    case EBADMSG:
        return "通信の内容が正しくありません";
    case EHWPOISON:
        return "メモリのハードウェアエラーが発生しました";
    // The system's limits.
    case EMFILE:
        return "このプログラムが開いているファイルが多すぎます";
    case ENFILE:
        return "システム全体で開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリが足りません";
    case ENOLCK:
        return "ファイルをロックできません";
    case EDEADLK:
        return "ファイルのロックを待ち合わせると行き詰まります";
    case EAGAIN:
        return "一時的に使えません。しばらくしてからもう一度試してください";
    case EINTR:
        return "操作が中断されました";
    case ECANCELED:
        return "操作が取り消されました";
    // Not for this kind of file.
    case EBADF:
    case EBADFD:
        return "ファイルが正しく開かれていません";
    case EINVAL:
        return "このファイルには使えない操作です";
    case ENOTTY:
    case ENOSYS:
    case EOPNOTSUPP:
        return "この操作には対応していません";
    case ERANGE:
    case EDOM:
        return "値が範囲を超えています";
    case EILSEQ:
        return "文字の並びが正しくありません";
    case ENODATA:
        return "データがありません";
    default:
        return "ファイル操作でエラーが発生しました（エラー番号 " + std::to_string(err) + "）";
    }
}

} // namespace vorn
