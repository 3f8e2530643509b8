#include "view/PageMessageBridge.h"

namespace korventa {

void PageMessageBridge::postMessage(const QString& text, bool isString, const QString& source,
                                    const QString& request) {
    emit messageReceived(text, isString, source, request);
}

void PageMessageBridge::requestFailed(const QString& reason, const QString& request) {
    emit requestFailedReceived(reason, request);
}

}  // namespace korventa
