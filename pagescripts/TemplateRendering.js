// The page side of a conversion request: shows the invoice data for editing, renders the
// invoice XML (and optionally the body) with Handlebars, collects the page commands through
// gkvt_veltCmds and posts one result message to the program. Sent into the page by the
// program with the first request of a document; a page that defines its own gkvt_zugFun
// keeps it.
if (typeof gkvt_zugFun === 'undefined') {
  globalThis.gkvt_zugFun = {
    dlgInnerHtml:
      '<button id="closeZugJsonBtn" type="button" title="Close" aria-label="Close">' +
      '<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">' +
      '<path d="M6 6L18 18M18 6L6 18" fill="none" stroke="currentColor" stroke-width="2"' +
      ' stroke-linecap="round"/></svg></button>' +
      '<textarea id="zugJsonData" style="width:100%;height:85%;box-sizing:border-box;">' +
      '</textarea>',

    // A failed request posts nothing that could pass for a result; the event lets the program
    // free its printing slot and tell the user why. The promise still rejects, and the page
    // shows nothing.
    renderInAppMode: async function (jsonStr, xmlTempStr, bHtmlAsTemplate, bGenFacXML,
                                     bShowJsonWhenPrint, bDetectCmd, bHideCmd, cmdClass) {
      try {
        const plugin = typeof korventaPlugin === 'undefined' ? undefined : korventaPlugin;
        if (plugin != null && Object.prototype.hasOwnProperty.call(plugin, 'genJsonData')) {
          const ownMember = (object, name) =>
            object != null && Object.prototype.hasOwnProperty.call(object, name);
          const config = ownMember(plugin, 'config') ? plugin.config : undefined;
          return await this.renderAndDetectCmds(
              JSON.stringify(plugin.genJsonData(), null, 4),
              xmlTempStr === '' ? plugin.facturXml : xmlTempStr,
              ownMember(config, 'bFlattenHtml') ? config.bFlattenHtml : false,
              bGenFacXML,
              ownMember(config, 'bShowJsonWhenPrint') ? config.bShowJsonWhenPrint
                                                      : bShowJsonWhenPrint,
              bDetectCmd, bHideCmd, cmdClass);
        }
        return await this.renderAndDetectCmds(jsonStr, xmlTempStr, bHtmlAsTemplate, bGenFacXML,
                                              bShowJsonWhenPrint, bDetectCmd, bHideCmd,
                                              cmdClass);
      } catch (error) {
        // Only a string message is passed on: converting a library's odd error object may
        // itself throw, and then the notice would be lost.
        const reason = error != null && typeof error.message === 'string' ? error.message : '';
        document.dispatchEvent(new CustomEvent('korventa-request-failed', { detail: reason }));
        throw error;
      }
    },

    renderAndDetectCmds: async function (jsonStr, xmlTempStr, bHtmlAsTemplate, bGenFacXML,
                                         bShowJsonWhenPrint, bDetectCmd, bHideCmd, cmdClass) {
      const result = {};
      let jsonText = jsonStr;
      if (bShowJsonWhenPrint) {
        jsonText = await this.showDataSrc(jsonText, this.dlgInnerHtml);
      }
      // Parsed in every request, so the dialog's text must be valid JSON even when nothing
      // is rendered.
      let data;
      try {
        data = JSON.parse(jsonText);
      } catch (error) {
        throw new Error('The invoice data is not valid JSON: ' + error.message);
      }
      if (bGenFacXML) {
        result.facx = this.renderTemplateFromJSON(data, xmlTempStr);
      }
      if (bHtmlAsTemplate) {
        this.renderHTMLBodyFromJSON(data);
      }
      if (bDetectCmd) {
        // Detection sees the body as rendered above.
        const className = typeof cmdClass === 'string' ? cmdClass : '';
        result.cmds = gkvt_veltCmds.detectCmds(className, bHideCmd);
      }
      result.type = 'JSONCMDS';
      window.chrome.webview.postMessage(JSON.stringify(result));
    },

    renderTemplateFromJSON: function (jsonDataObj, templateStr) {
      return Handlebars.compile(templateStr)(jsonDataObj);
    },

    // Replaces the body for good: handlers that the page attached inside it are lost.
    renderHTMLBodyFromJSON: function (jsonDataObj) {
      document.body.innerHTML = this.renderTemplateFromJSON(jsonDataObj, document.body.innerHTML);
    },

    showDataSrc: async function (jsondata, htmlSeg) {
      const { dialog, textarea } = this.initDataSrc(jsondata, htmlSeg);
      await this.waitDialog(dialog);
      return textarea.value;
    },

    // The dialog stays in the body once created; a rendered body re-creates it from its
    // markup, so the handlers are attached again with every request (replacing, not adding).
    initDataSrc: function (jsondata, htmlSeg) {
      let dialog = document.getElementById('zugJsonDlg');
      if (dialog === null) {
        dialog = document.createElement('dialog');
        dialog.innerHTML = htmlSeg;
        dialog.id = 'zugJsonDlg';
        dialog.style.width = '60%';
        dialog.style.height = '60%';
        document.body.appendChild(dialog);
      }
      const textarea = dialog.querySelector('#zugJsonData');
      dialog.querySelector('#closeZugJsonBtn').onclick = () => dialog.close();
      textarea.value = jsondata;
      dialog.onkeydown = (event) => {
        if (event.key === 'Escape') {
          dialog.close();
        }
      };
      return { dialog, textarea };
    },

    // Closing in any way continues the request; there is no cancel.
    waitDialog: function (dialog) {
      const closed = new Promise((resolve) => {
        dialog.addEventListener('close', () => resolve(dialog.returnValue), { once: true });
      });
      dialog.showModal();
      return closed;
    },
  };
}
