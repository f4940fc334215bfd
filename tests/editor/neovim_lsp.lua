-- Neovim's own language client against `scenario lsp`, headless: opens the
-- built-in line text (beside its train text, in a fresh folder), misspells
-- the keyword of a gradient record, waits for the warning and checks that it
-- stands on that line, applies the server's quick fix and waits for the
-- empty list, hovers the keyword, then shuts the server down and checks that
-- it ends with status 0. Written for Neovim 0.7 (vim.lsp.start_client and
-- vim.lsp.buf_attach_client), which later versions still offer.
--
--   SCENARIO_EXE=... SCENARIO_GOLDEN=... SCENARIO_CARTELLA=... \
--     nvim --headless --clean -n -c 'luafile neovim_lsp.lua'
--
-- Ends Neovim with status 0 when every check holds, 1 otherwise (with the
-- reason on standard error).

local attesa_ms = 15000

local function variabile(nome)
  local valore = os.getenv(nome)
  if valore == nil or valore == '' then
    error(nome .. ' is not set')
  end
  return valore
end

local function scrivi(testo)
  io.stderr:write('neovim-lsp: ' .. testo .. '\n')
end

local cliente_id = nil
local uscita = nil          -- {codice, segnale} once the server has ended
local pubblicazioni = {}    -- the publishDiagnostics parameters, as they come

-- Waits for `condizione`; fails with `cosa` when it does not come in time or
-- when the server ends first.
local function aspetta(cosa, condizione)
  local ok = vim.wait(attesa_ms, function()
    return uscita ~= nil or condizione()
  end, 10)
  if not condizione() then
    if uscita ~= nil then
      error(string.format('the server ended (status %s) while waiting for %s', tostring(uscita.codice), cosa))
    end
    error(string.format('no %s within %d ms%s', cosa, attesa_ms, ok and '' or ' (timed out)'))
  end
end

-- The first publication for `uri` after the `dopo`-th that `vale` accepts.
local function pubblicazione(uri, dopo, vale)
  for i = dopo + 1, #pubblicazioni do
    local p = pubblicazioni[i]
    if p.uri == uri and vale(p) then
      return p
    end
  end
  return nil
end

local function principale()
  local programma = variabile('SCENARIO_EXE')
  local golden = variabile('SCENARIO_GOLDEN')
  local cartella = variabile('SCENARIO_CARTELLA')

  -- The built-in pair in a folder of its own: the server reads the closed
  -- train text from disk.
  vim.fn.delete(cartella, 'rf')
  vim.fn.mkdir(cartella, 'p')
  for _, nome in ipairs({ 'Morsalo_Torvia_linea.txt', 'Morsalo_Torvia_R20417-.txt' }) do
    assert(vim.loop.fs_copyfile(golden .. '/' .. nome, cartella .. '/' .. nome), 'cannot copy ' .. nome)
  end
  local file_linea = cartella .. '/Morsalo_Torvia_linea.txt'
  vim.cmd('edit ' .. vim.fn.fnameescape(file_linea))
  local buf = vim.api.nvim_get_current_buf()
  local uri = vim.uri_from_bufnr(buf)

  local predefinito = vim.lsp.handlers['textDocument/publishDiagnostics']
  cliente_id = vim.lsp.start_client({
    name = 'scenario',
    cmd = { programma, 'lsp' },
    root_dir = cartella,
    flags = { debounce_text_changes = 0 },
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
        table.insert(pubblicazioni, result)
        return predefinito(err, result, ctx, config)
      end,
    },
    on_exit = function(codice, segnale)
      uscita = { codice = codice, segnale = segnale }
    end,
  })
  assert(cliente_id, 'vim.lsp.start_client did not start "' .. programma .. ' lsp"')
  assert(vim.lsp.buf_attach_client(buf, cliente_id), 'vim.lsp.buf_attach_client failed')

  -- The built-in text as it is: an empty list.
  aspetta('diagnostics for the opened line text', function()
    return pubblicazione(uri, 0, function() return true end) ~= nil
  end)
  local prima = pubblicazione(uri, 0, function() return true end)
  assert(#prima.diagnostics == 0,
         'the built-in line text gets diagnostics: ' .. vim.inspect(prima.diagnostics))

  -- "pendenza" on line 32 becomes "pendeza".
  local riga = 32
  local testo = vim.api.nvim_buf_get_lines(buf, riga - 1, riga, true)[1]
  assert(testo:sub(1, 9) == 'pendenza,', 'line 32 of the built-in line text is not a gradient record: ' .. testo)
  local contate = #pubblicazioni
  vim.api.nvim_buf_set_text(buf, riga - 1, 5, riga - 1, 6, {})
  local versione = vim.lsp.util.buf_versions[buf]
  aspetta('diagnostic for "pendeza"', function()
    return pubblicazione(uri, contate, function(p) return #p.diagnostics > 0 end) ~= nil
  end)
  local dopo = pubblicazione(uri, contate, function(p) return #p.diagnostics > 0 end)
  assert(dopo.version == nil or dopo.version == versione,
         string.format('the diagnostics carry version %s, the buffer is at %s', tostring(dopo.version), versione))

  -- As Neovim shows them: one warning, at the keyword, naming it.
  local mostrate = vim.diagnostic.get(buf)
  assert(#mostrate >= 1, 'Neovim shows no diagnostic for the buffer')
  for _, d in ipairs(mostrate) do
    assert(d.lnum == riga - 1,
           string.format('a diagnostic stands on line %d, not on line %d: %s', d.lnum + 1, riga, d.message))
  end
  local d = mostrate[1]
  assert(d.col == 0, 'the diagnostic starts at column ' .. d.col .. ', not at the keyword')
  assert(d.severity == vim.diagnostic.severity.WARN, 'the diagnostic is not a warning: ' .. tostring(d.severity))
  assert(d.message:find('pendeza', 1, true), 'the message does not name the keyword: ' .. d.message)
  assert(d.source == 'scenario', 'the source is ' .. tostring(d.source))
  scrivi(string.format('line %d: %s', d.lnum + 1, d.message))

  -- The server's quick fix, applied by Neovim: the keyword is back and the
  -- list empties.
  local azioni = vim.lsp.buf_request_sync(buf, 'textDocument/codeAction', {
    textDocument = { uri = uri },
    range = dopo.diagnostics[1].range,
    context = { diagnostics = dopo.diagnostics },
  }, attesa_ms)
  assert(azioni and azioni[cliente_id] and azioni[cliente_id].result, 'no answer to the code action request')
  local correzione = nil
  for _, a in ipairs(azioni[cliente_id].result) do
    if a.edit and (a.title or ''):find('pendenza', 1, true) then
      correzione = a
    end
  end
  assert(correzione, 'no quick fix writes "pendenza": ' .. vim.inspect(azioni[cliente_id].result))
  contate = #pubblicazioni
  vim.lsp.util.apply_workspace_edit(correzione.edit, vim.lsp.get_client_by_id(cliente_id).offset_encoding)
  assert(vim.api.nvim_buf_get_lines(buf, riga - 1, riga, true)[1] == testo,
         'the quick fix left line 32 as: ' .. vim.api.nvim_buf_get_lines(buf, riga - 1, riga, true)[1])
  aspetta('empty diagnostics after the quick fix', function()
    return pubblicazione(uri, contate, function(p) return #p.diagnostics == 0 end) ~= nil
  end)
  assert(#vim.diagnostic.get(buf) == 0, 'Neovim still shows diagnostics after the quick fix')
  scrivi('quick fix: ' .. correzione.title)

  -- A hover on the keyword.
  vim.api.nvim_win_set_cursor(0, { riga, 2 })
  local risposte = vim.lsp.buf_request_sync(buf, 'textDocument/hover', vim.lsp.util.make_position_params(), attesa_ms)
  assert(risposte and risposte[cliente_id], 'no answer to the hover')
  local risposta = risposte[cliente_id]
  assert(risposta.error == nil, 'the hover failed: ' .. vim.inspect(risposta.error))
  assert(risposta.result and risposta.result.contents, 'the hover on "pendenza" is empty')
  local righe = {}
  for _, r in ipairs(vim.lsp.util.convert_input_to_markdown_lines(risposta.result.contents)) do
    if r:find('%S') then table.insert(righe, r) end
  end
  assert(#righe > 0, 'the hover on "pendenza" has no text')
  scrivi('hover: ' .. righe[1])

  -- shutdown, then exit: status 0.
  vim.lsp.stop_client(cliente_id)
  aspetta('end of the server after shutdown', function() return uscita ~= nil end)
  assert(uscita.codice == 0, 'the server ended with status ' .. tostring(uscita.codice) .. ' after shutdown')
end

local ok, errore = xpcall(principale, debug.traceback)
if ok then
  scrivi('every check held')
  vim.cmd('qall!')
else
  scrivi('FAILED: ' .. tostring(errore))
  if cliente_id ~= nil and uscita == nil then
    vim.lsp.stop_client(cliente_id, true)
  end
  vim.cmd('cquit 1')
end
