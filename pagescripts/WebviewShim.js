// Gives every document of the main frame window.chrome.webview.postMessage before the page's
// own scripts run. It only hands the payload on, as a DOM event that the program's isolated
// world listens for: the page never sees the channel behind it. Strings travel as they are;
// anything else arrives flagged as not a string. Frozen, so a page cannot replace it.
(() => {
  const dispatch = EventTarget.prototype.dispatchEvent;
  const Event = CustomEvent;
  const target = document;
  const postMessage = function (message) {
    const detail = typeof message === 'string' ? 's' + message : 'x';
    dispatch.call(target, new Event('korventa-webmessage', { detail }));
  };
  const webview = Object.freeze({ postMessage: Object.freeze(postMessage) });
  if (typeof window.chrome !== 'object' || window.chrome === null) {
    window.chrome = {};
  }
  Object.defineProperty(window.chrome, 'webview', { value: webview, enumerable: true });
})();
