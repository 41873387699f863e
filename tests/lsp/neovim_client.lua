-- A headless Neovim drives scenario_tool lsp as an author's editor would; any failed step quits with status 1.
-- Arguments through the environment: TOOL (the scenario_tool binary), DIR (a folder with the built-in pair).
local tool, dir = os.getenv('TOOL'), os.getenv('DIR')
local train = dir .. '/Castrovelde_Ardis_R31708-.txt'
local line = dir .. '/Castrovelde_Ardis_linea.txt'
local timeout = 10000

local function fail(what)
  io.stderr:write('FAILED: ' .. what .. '\n')
  vim.cmd('cquit 1')
end
local function check(ok, what) if not ok then fail(what) end end

-- The sources are Latin-1 on disk.
vim.o.fileencodings = 'latin1'
vim.o.swapfile = false

-- The diagnostics as the server sent them, by URI, and how many times each was published.
local published, count = {}, {}
local default_handler = vim.lsp.handlers['textDocument/publishDiagnostics']
vim.lsp.handlers['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
  published[result.uri] = result.diagnostics
  count[result.uri] = (count[result.uri] or 0) + 1
  return default_handler(err, result, ctx, config)
end

local exit_code
local client_id = vim.lsp.start_client({
  name = 'scenario', cmd = { tool, 'lsp' }, root_dir = dir,
  flags = { debounce_text_changes = 0 },
  on_exit = function(code) exit_code = code end,
})
check(client_id, 'the server did not start')

vim.cmd('edit ' .. train)
local tbuf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(tbuf, client_id)
local turi = vim.uri_from_bufnr(tbuf)
local luri = vim.uri_from_fname(line)

local function wait_for(what, cond) check(vim.wait(timeout, cond, 20), 'timed out waiting for ' .. what) end
local function request(buf, method, params)
  local answers = vim.lsp.buf_request_sync(buf, method, params, timeout)
  check(answers and answers[client_id], 'no answer to ' .. method)
  check(not answers[client_id].err, method .. ' failed: ' .. vim.inspect(answers[client_id].err))
  return answers[client_id].result
end
local function at(buf, l, c) return { textDocument = { uri = vim.uri_from_bufnr(buf) }, position = { line = l, character = c } } end
local function set_line(buf, l, text) vim.api.nvim_buf_set_lines(buf, l, l + 1, false, { text }) end
local function get_line(buf, l) return vim.api.nvim_buf_get_lines(buf, l, l + 1, false)[1] end

-- The built-in pair: both files published, no diagnostics.
wait_for('the first diagnostics', function() return published[turi] and published[luri] end)
check(#published[turi] == 0 and #published[luri] == 0, 'the built-in pair has diagnostics')

-- A broken record: the error at its line and column, covering the keyword.
local station = get_line(tbuf, 15)
set_line(tbuf, 15, (station:gsub('^stazione', 'stazzione')))
wait_for('the error of a misspelt keyword', function() return #published[turi] > 0 end)
local d = vim.diagnostic.get(tbuf)[1]
check(d and d.lnum == 15 and d.col == 0 and d.end_col == 9, 'the error is not at the keyword: ' .. vim.inspect(d))
check(d.message:find("did you mean 'stazione'", 1, true), 'no hint: ' .. d.message)

-- The quick fix, applied, clears it.
local actions = request(tbuf, 'textDocument/codeAction', {
  textDocument = { uri = turi }, range = published[turi][1].range,
  context = { diagnostics = published[turi] } })
check(actions and actions[1] and actions[1].edit, 'no quick fix')
vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16')
check(get_line(tbuf, 15) == station, 'the fix did not restore the line: ' .. get_line(tbuf, 15))
wait_for('the fix to clear the error', function() return #published[turi] == 0 end)

-- Columns after an accented letter: "vìlocita" ends at byte 9 of the line, UTF-16 unit 8.
local speed = get_line(tbuf, 9)
set_line(tbuf, 9, (speed:gsub('^velocita', 'vìlocita')))
wait_for('the error after an accent', function() return #published[turi] > 0 end)
d = vim.diagnostic.get(tbuf)[1]
check(d and d.lnum == 9 and d.end_col == 9, 'the accent moved the range: ' .. vim.inspect(d))
check(published[turi][1].range['end'].character == 8, 'the server did not count UTF-16 units')
set_line(tbuf, 9, speed)
wait_for('the accent error to clear', function() return #published[turi] == 0 end)

-- Hover on the first signal's position: the cell the compiler puts it in.
local hover = request(tbuf, 'textDocument/hover', at(tbuf, 34, 12))
check(hover and hover.contents.value:find('cell 215 (10750 m), object', 1, true), 'hover: ' .. vim.inspect(hover))

-- Completion in the train source: its keywords, with snippets of their fields.
local items = request(tbuf, 'textDocument/completion', at(tbuf, 15, 0))
local found = false
for _, item in ipairs(items.items or items) do
  if item.label == 'stazione' and item.insertText:find("${17:the station's name}", 1, true) then found = true end
  check(item.label ~= 'pendenza', 'a keyword of the line source offered in the train source')
end
check(found, 'no station snippet among the completions')

-- The outline: the stations under their section.
local symbols = request(tbuf, 'textDocument/documentSymbol', { textDocument = { uri = turi } })
local stations
for _, s in ipairs(symbols) do if s.name == '[stazioni]' then stations = s.children end end
check(stations and #stations == 18 and stations[2].name == 'station MONTEFERRO', 'outline: ' .. vim.inspect(stations))

-- Go to definition: a repeated record goes to the one that wins.
local cars = get_line(tbuf, 1)
vim.api.nvim_buf_set_lines(tbuf, 2, 2, false, { 'numero vetture,    4' })
local def = request(tbuf, 'textDocument/definition', at(tbuf, 1, 2))
def = def and (def[1] or def)
check(def and def.uri == turi and def.range.start.line == 2, 'definition: ' .. vim.inspect(def))
vim.api.nvim_buf_set_lines(tbuf, 2, 3, false, {})
check(get_line(tbuf, 1) == cars, 'the repeated record was not removed')

-- An edit in the line source publishes the train source again: a route too short for its stations.
vim.cmd('edit ' .. line)
local lbuf = vim.api.nvim_get_current_buf()
vim.lsp.buf_attach_client(lbuf, client_id)
local length = get_line(lbuf, 1)
local before = count[turi]
set_line(lbuf, 1, 'lunghezza percorso,    9000')
wait_for('the train source to be published again', function() return count[turi] > before and #published[turi] > 0 end)
set_line(lbuf, 1, length)
wait_for('the train source to be whole again', function() return #published[turi] == 0 end)

-- References of a station name: its record, and a sign in the line source that names it.
local sign = get_line(lbuf, 295)
set_line(lbuf, 295, 'cartello_indicatore,  14700,   (MONTEFERRO)')
local refs = request(tbuf, 'textDocument/references', {
  textDocument = { uri = turi }, position = { line = 15, character = 2 }, context = { includeDeclaration = true } })
check(refs and #refs == 2, 'references: ' .. vim.inspect(refs))
check(refs[1].uri == luri and refs[1].range.start.line == 295 and refs[1].range.start.character == 32,
      'the sign is not among the references: ' .. vim.inspect(refs))
check(refs[2].uri == turi and refs[2].range.start.line == 15, 'the station is not among the references: ' .. vim.inspect(refs))
set_line(lbuf, 295, sign)

-- Two stations out of order: the second one's zone error (code 22) offers the move back into place.
vim.cmd('buffer ' .. tbuf)
local pianello, milepost = get_line(tbuf, 16), get_line(tbuf, 17)
vim.api.nvim_buf_set_lines(tbuf, 16, 18, false, { milepost, pianello })
local unordered
wait_for('the station zone error', function()
  for _, dg in ipairs(published[turi] or {}) do if dg.code == '22' then unordered = dg end end
  return unordered ~= nil
end)
check(unordered.range.start.line == 17, 'the error is not on the moved station: ' .. vim.inspect(unordered))
actions = request(tbuf, 'textDocument/codeAction', {
  textDocument = { uri = turi }, range = unordered.range, context = { diagnostics = { unordered } } })
check(actions and actions[1] and actions[1].edit, 'no move offered')
vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16')
check(get_line(tbuf, 16) == pianello and get_line(tbuf, 17) == milepost, 'the move did not restore the order')
wait_for('the move to clear the error', function() return #published[turi] == 0 end)

-- Formatting aligns the fields; the buffer is written back, and the shell compares the compiled bytes.
set_line(tbuf, 9, 'velocita,24600,40')
local edits = request(tbuf, 'textDocument/formatting', { textDocument = { uri = turi }, options = { tabSize = 8, insertSpaces = true } })
check(edits and #edits > 0, 'formatting changed nothing')
vim.lsp.util.apply_text_edits(edits, tbuf, 'utf-16')
check(get_line(tbuf, 9) == 'velocita, 24600, 40', 'not aligned: ' .. get_line(tbuf, 9))
vim.cmd('write')

-- shutdown and exit: the server ends with status 0.
vim.lsp.stop_client(client_id)
wait_for('the server to exit', function() return exit_code ~= nil end)
check(exit_code == 0, 'the server exited with ' .. tostring(exit_code))
vim.cmd('qall!')
