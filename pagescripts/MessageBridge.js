// The isolated world's end of page messages: takes the events of the page's postMessage and
// of a failed conversion request and sends them over the web channel with the document's
// real address, which the page cannot fake. Runs after qwebchannel.js at document creation;
// events that come before the channel is ready are queued, not lost.
// Each message is stamped, when the page posts it, with the token of the program's request
// then waiting for this document: the program sets it here, in a world the page cannot reach,
// so a message posted before the request (while loading, say) is never taken for its answer.
(() => {
  const pending = [];
  let bridge = null;
  let request = '';
  Object.defineProperty(window, 'korventaRequest', {
    value: (token) => {
      request = String(token);
    },
  });
  const send = (call) => (bridge === null ? pending.push(call) : call(bridge));
  document.addEventListener('korventa-webmessage', (event) => {
    const detail = typeof event.detail === 'string' ? event.detail : 'x';
    const isString = detail.startsWith('s');
    const text = isString ? detail.slice(1) : '';
    const source = location.href;
    const token = request;
    send((target) => target.postMessage(text, isString, source, token));
  });
  document.addEventListener('korventa-request-failed', (event) => {
    const reason = typeof event.detail === 'string' ? event.detail : '';
    const token = request;
    send((target) => target.requestFailed(reason, token));
  });
  new QWebChannel(qt.webChannelTransport, (channel) => {
    bridge = channel.objects.korventaBridge;
    pending.splice(0).forEach((call) => call(bridge));
  });
})();
