// Finds the %%key: value%% commands that a page author wrote into the page text and turns
// them into the command map of a print job; optionally hides or removes them before printing.
// Sent into the page by the program with the first conversion request of a document and
// called by gkvt_zugFun. Keeps no state between calls. A page that defines its own
// gkvt_veltCmds keeps it.
if (typeof gkvt_veltCmds === 'undefined') {
  globalThis.gkvt_veltCmds = {
    // The entry point: the command map of the elements that match cmdClassname, or of the
    // whole body when the name is empty; `root`, when given, stands in for the body (one
    // invoice's section of a collated document).
    detectCmds: function (cmdClassname, bHideCmd, root) {
      const cmdMap = {};
      const scope = root === undefined ? document.body : root;
      const className = cmdClassname.trim();
      if (className !== '') {
        // A name that starts with a letter is a class; anything else is the author's own
        // selector (#id, [attr], ...). A selector the browser rejects throws to the caller.
        const selector = /^[A-Za-z]/.test(className) ? '.' + className : className;
        const elements = Array.from((root === undefined ? document : scope)
                                        .querySelectorAll(selector));
        this.traverseNodes(elements.slice(), this.matchAndCollectCmds, cmdMap, false);
        if (bHideCmd) {
          this.setNodesToDisplayNone(elements);
        }
      } else {
        this.traverseNodes(Array.from(scope.childNodes), this.matchAndCollectCmds,
                           cmdMap, Boolean(bHideCmd));
      }
      return cmdMap;
    },

    // The array is a stack that the walk consumes: text nodes are handled in reverse document
    // order, and the text of a matched element inside another matched one is handled twice.
    traverseNodes: function (nodeList, action, ...actionArgs) {
      while (nodeList.length > 0) {
        this.visitNode(nodeList.pop(), nodeList, action, ...actionArgs);
      }
    },

    visitNode: function (curNode, nextNodes, action, ...actionArgs) {
      if (curNode.nodeType === Node.ELEMENT_NODE) {
        for (const child of curNode.childNodes) {
          nextNodes.push(child);
        }
      } else if (curNode.nodeType === Node.TEXT_NODE) {
        action.call(this, curNode, curNode.textContent, ...actionArgs);
      }
    },

    // An error in one node (a member the page made unusable) ends that node only: its text is
    // left as it was and the map keeps what the node's earlier commands entered.
    matchAndCollectCmds: function (curnode, textcont, cmdMap, bRemoveMatchedCmds) {
      try {
        const pattern = /%%([\w-][.\w-]+):[\s]*([\S \n\t\r]*?)%%/igm;
        let remaining = '';
        let consumed = 0;
        let match;
        while ((match = pattern.exec(textcont)) !== null) {
          remaining += textcont.slice(consumed, match.index);
          consumed = match.index + match[0].length;
          this.applyCmd(cmdMap, match[1], match[2].replace(/^\s+/, ''));
        }
        if (bRemoveMatchedCmds) {
          curnode.textContent = remaining + textcont.slice(consumed);
        }
      } catch (error) {
        // Swallowed on purpose: one bad node must not cost the commands of the others.
      }
    },

    // The special keys, compared case-sensitively in this order, then the general rule.
    applyCmd: function (cmdMap, key, value) {
      if (key.endsWith('_')) {
        return;
      }
      switch (key) {
        case 'eczf1':
          cmdMap.AnnZUGProfile = 'EN 16931';
          cmdMap.AnnZUGFeRD = value;
          return;
        case 'eczfd':
          cmdMap.AnnZUGProfile = 'EXTENDED';
          cmdMap.AnnZUGFeRD = value;
          return;
        case 'eczfg':
          cmdMap.AnnZUGProfile = 'XRECHNUNG';
          cmdMap.AnnZUGFeRD = value;
          return;
        case 'eczp':
          cmdMap.AnnZUGProfile = value;
          return;
        case 'eczf':
          cmdMap.AnnZUGFeRD = value;
          return;
        case 'eczx':
          if (!cmdMap.hasOwnProperty('AnnZUGXDoc')) {
            cmdMap.AnnZUGXDoc = [];
          }
          cmdMap.AnnZUGXDoc.push(value);
          return;
      }
      if (key.startsWith('ec')) {
        return;
      }
      if (key.startsWith('zx.')) {
        const lines = cmdMap.hasOwnProperty('AnnZUGXData') ? cmdMap.AnnZUGXData : '';
        cmdMap.AnnZUGXData = lines + key + ':' + value + '\n';
        return;
      }
      if (key.startsWith('ac') || key.startsWith('oc')) {
        return;
      }
      this.applyGeneralCmd(cmdMap, key, value);
    },

    // ":" appends, "&" appends on a new line, a backslash before either makes it literal.
    applyGeneralCmd: function (cmdMap, key, value) {
      const present = cmdMap.hasOwnProperty(key);
      const first = value.charAt(0);
      if (first === ':') {
        cmdMap[key] = present ? cmdMap[key] + value.slice(1) : value.slice(1);
      } else if (first === '&') {
        cmdMap[key] = present ? cmdMap[key] + '\n' + value.slice(1) : value.slice(1);
      } else if (first === '\\' && (value.charAt(1) === '&' || value.charAt(1) === ':')) {
        cmdMap[key] = value.slice(1);
      } else {
        cmdMap[key] = value;
      }
    },

    setNodesToDisplayNone: function (nodeList) {
      while (nodeList.length > 0) {
        const node = nodeList.pop();
        if (node.nodeType === Node.ELEMENT_NODE && node.style) {
          node.style.display = 'none';
        }
      }
    },
  };
}
