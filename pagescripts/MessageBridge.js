// The isolated world's end of page messages: takes the events of the page's postMessage and
// of a failed conversion request and sends them over the web channel with the document's
// real address, which the page cannot fake. Runs after qwebchannel.js at document creation;
// events that come before the channel is ready are queued, not lost.
(() => {
  const pending = [];
  let bridge = null;
  const send = (call) => (bridge === null ? pending.push(call) : call(bridge));
  document.addEventListener('korventa-webmessage', (event) => {
    const detail = typeof event.detail === 'string' ? event.detail : 'x';
    const isString = detail.startsWith('s');
    const text = isString ? detail.slice(1) : '';
    const source = location.href;
    send((target) => target.postMessage(text, isString, source));
  });
  document.addEventListener('korventa-request-failed', (event) => {
    const reason = typeof event.detail === 'string' ? event.detail : '';
    const source = location.href;
    send((target) => target.requestFailed(source, reason));
  });
  new QWebChannel(qt.webChannelTransport, (channel) => {
    bridge = channel.objects.korventaBridge;
    pending.splice(0).forEach((call) => call(bridge));
  });
})();
