#include "view/PageMessageBridge.h"

namespace korventa {

void PageMessageBridge::postMessage(const QString& text, bool isString, const QString& source) {
    emit messageReceived(text, isString, source);
}

void PageMessageBridge::requestFailed(const QString& source, const QString& reason) {
    emit requestFailedReceived(source, reason);
}

}  // namespace korventa
