;;; emacs_client.el --- Emacs with eglot drives scenario_tool lsp as an author's editor would; any failed step exits with status 1.
;; Arguments through the environment: TOOL (the scenario_tool binary), DIR (a folder with the built-in pair).

(require 'cl-lib)
(require 'eglot)

(defvar scenario-tool (expand-file-name (getenv "TOOL")))
(defvar scenario-dir (file-name-as-directory (getenv "DIR")))
(defvar scenario-timeout 10.0)

(defun scenario-fail (what)
  (princ (format "FAILED: %s\n" what) #'external-debugging-output)
  (kill-emacs 1))

(defun scenario-check (ok what) (unless ok (scenario-fail what)))

;; The diagnostics as the server sent them, by URI, and how many times each was published.
(defvar scenario-published (make-hash-table :test #'equal))
(defvar scenario-count (make-hash-table :test #'equal))
(cl-defmethod eglot-handle-notification :before
  (_server (_method (eql textDocument/publishDiagnostics)) &key uri diagnostics &allow-other-keys)
  (puthash uri diagnostics scenario-published)
  (puthash uri (1+ (gethash uri scenario-count 0)) scenario-count))

(defun scenario-wait (what cond)
  (let ((deadline (+ (float-time) scenario-timeout)))
    (while (and (not (funcall cond)) (< (float-time) deadline))
      (accept-process-output nil 0.02))
    (scenario-check (funcall cond) (concat "timed out waiting for " what))))

;; The sources are Latin-1 on disk; a mode of their own names the server.
(prefer-coding-system 'latin-1)
(define-derived-mode scenario-mode fundamental-mode "Scenario")
(add-to-list 'auto-mode-alist '("\\.txt\\'" . scenario-mode))
(add-to-list 'eglot-server-programs `(scenario-mode . (,scenario-tool "lsp")))
(setq eglot-send-changes-idle-time 0
      eglot-sync-connect t
      eglot-autoshutdown nil)

(defvar scenario-train (concat scenario-dir "Castrovelde_Ardis_R31708-.txt"))
(find-file scenario-train)
(apply #'eglot (eglot--guess-contact))
(defvar scenario-server (eglot-current-server))
(scenario-check scenario-server "the server did not start")
(defvar scenario-turi (eglot--path-to-uri scenario-train))
(defvar scenario-luri (eglot--path-to-uri (concat scenario-dir "Castrovelde_Ardis_linea.txt")))

(defun scenario-diagnostics (uri) (gethash uri scenario-published))

(defun scenario-goto (line column)
  (goto-char (point-min))
  (forward-line line)
  (forward-char column))

(defun scenario-request (method params)
  (jsonrpc-request scenario-server method params :timeout scenario-timeout))

(defun scenario-changed ()
  (eglot--signal-textDocument/didChange))

;; The built-in pair: both files published, no diagnostics.
(scenario-wait "the first diagnostics"
               (lambda () (and (gethash scenario-turi scenario-count) (gethash scenario-luri scenario-count))))
(scenario-check (and (= (length (scenario-diagnostics scenario-turi)) 0)
                     (= (length (scenario-diagnostics scenario-luri)) 0))
                "the built-in pair has diagnostics")

;; A broken record: the error at its line and column, covering the keyword.
(scenario-goto 15 0)
(scenario-check (looking-at "stazione,") "the station line is not where it was")
(forward-char 4)
(insert "z")  ; "stazzione"
(scenario-changed)
(scenario-wait "the error of a misspelt keyword" (lambda () (> (length (scenario-diagnostics scenario-turi)) 0)))
(let* ((d (aref (scenario-diagnostics scenario-turi) 0))
       (range (plist-get d :range))
       (start (plist-get range :start))
       (end (plist-get range :end)))
  (scenario-check (and (= (plist-get start :line) 15) (= (plist-get start :character) 0)
                       (= (plist-get end :line) 15) (= (plist-get end :character) 9))
                  (format "the error is not at the keyword: %S" d))
  (scenario-check (string-match-p "did you mean 'stazione'" (plist-get d :message))
                  (format "no hint: %S" (plist-get d :message))))
(scenario-goto 15 4)
(delete-char 1)
(scenario-changed)
(scenario-wait "the error to clear" (lambda () (= (length (scenario-diagnostics scenario-turi)) 0)))

;; Columns after an accented letter: "vìlocita" ends at UTF-16 unit 8.
(scenario-goto 9 1)
(delete-char 1)
(insert "ì")
(scenario-changed)
(scenario-wait "the error after an accent" (lambda () (> (length (scenario-diagnostics scenario-turi)) 0)))
(let ((end (plist-get (plist-get (aref (scenario-diagnostics scenario-turi) 0) :range) :end)))
  (scenario-check (and (= (plist-get end :line) 9) (= (plist-get end :character) 8))
                  (format "the accent moved the range: %S" end)))
(scenario-goto 9 1)
(delete-char 1)
(insert "e")
(scenario-changed)
(scenario-wait "the accent error to clear" (lambda () (= (length (scenario-diagnostics scenario-turi)) 0)))

;; Hover on the first signal's position: the cell the compiler puts it in.
(scenario-goto 34 12)
(let* ((hover (scenario-request :textDocument/hover (eglot--TextDocumentPositionParams)))
       (value (plist-get (plist-get hover :contents) :value)))
  (scenario-check (and value (string-match-p (regexp-quote "cell 215 (10750 m), object") value))
                  (format "hover: %S" hover)))

;; References of a station name: its record in the train source.
(scenario-goto 15 2)
(let ((refs (scenario-request :textDocument/references
                              (append (eglot--TextDocumentPositionParams)
                                      '(:context (:includeDeclaration t))))))
  (scenario-check (and (= (length refs) 1)
                       (equal (plist-get (aref refs 0) :uri) scenario-turi)
                       (= (plist-get (plist-get (plist-get (aref refs 0) :range) :start) :line) 15))
                  (format "references: %S" refs)))

;; shutdown and exit.
(eglot-shutdown scenario-server)
(scenario-check (not (jsonrpc-running-p scenario-server)) "the server is still running")
(kill-emacs 0)
